#include "editor/CheckBoxLook.h"

void CheckBoxLook::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool isMouseOverButton,
                                     bool isButtonDown)
{
    // Past the editor's own frame, to the framework's tick box and text.
    juce::LookAndFeel_V3::drawToggleButton (g, button, isMouseOverButton, isButtonDown);
    if (button.hasKeyboardFocus (false))
        drawFocusRing (g, button.getLocalBounds());
}
