#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The look of the buttons of the system's questions: the framework's own, which shows no keyboard
    focus, with the editor's focus ring on the button that holds the keyboard. It has no state. */
class DialogLook final : public juce::LookAndFeel_V4
{
public:
    DialogLook();
    ~DialogLook() override;

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DialogLook)
};
