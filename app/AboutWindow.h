#pragma once

#include "app/AboutComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

/** The About window: no title bar, centred, closed by a click on the picture or by Escape, which
    delete it. */
class AboutWindow final : public juce::ResizableWindow
{
public:
    AboutWindow();
    ~AboutWindow() override;

    AboutComponent* getAboutComponent() const noexcept { return content.get(); }

    juce::BorderSize<int> getBorderThickness() override { return {}; }
    /** Escape closes the window, as a click on the picture does. */
    bool keyPressed (const juce::KeyPress& key) override;

private:
    std::unique_ptr<AboutComponent> content;
    juce::Image aboutImage;

    JUCE_DECLARE_WEAK_REFERENCEABLE (AboutWindow)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutWindow)
};
