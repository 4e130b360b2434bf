#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A strip of image buttons with an optional picture behind them: the tab bar, or the controller
    picture with its clickable parts. */
class ControlSelector final : public juce::Component
{
public:
    /** Takes ownership of the buttons. layoutKind 0 puts them in a row from x = 0; any other value
        keeps the bounds their builder gave them. */
    ControlSelector (const juce::Array<juce::Button*>& buttons, int layoutKind);
    ~ControlSelector() override;

    /** Replaces the picture behind the buttons; it fills the selector's current bounds. */
    void setBackgroundImage (const juce::Image& image);

    const juce::OwnedArray<juce::Component>& getButtons() const noexcept { return buttons; }
    juce::ImageComponent* getBackground() const noexcept { return background.get(); }

    void paint (juce::Graphics& g) override;
    void resized() override {}

private:
    juce::OwnedArray<juce::Component> buttons;
    std::unique_ptr<juce::ImageComponent> background;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ControlSelector)
};
