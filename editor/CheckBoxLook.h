#pragma once

#include "editor/CustomLook.h"

/** The editor's look with check boxes that look like check boxes: a tick box and the text beside
    it, and the focus ring when the keyboard is on it. (The editor's own pages draw their toggles
    as plain frames.) */
class CheckBoxLook final : public CustomLook
{
public:
    void drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool isMouseOverButton,
                           bool isButtonDown) override;
};
