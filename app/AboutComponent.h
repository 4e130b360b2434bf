#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

/** The About picture with the version and the two legal lines; a click closes its window. */
class AboutComponent final : public juce::Component
{
public:
    /** The picture is not owned; it belongs to the window. Null leaves the component empty. */
    explicit AboutComponent (juce::Image* aboutImage);
    ~AboutComponent() override;

    void mouseUp (const juce::MouseEvent& event) override;
    void paint (juce::Graphics& g) override;

    static const char* const copyrightLine;
    static const char* const trademarkLine;

private:
    juce::Image* aboutImage;
    std::unique_ptr<juce::Label> versionLabel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutComponent)
};
