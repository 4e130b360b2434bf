#include "editor/DialogLook.h"

#include "editor/CustomLook.h"

namespace
{
// Inside the button's own outline, on its fill.
constexpr float ringInset = 3.0f;
constexpr float ringCorner = 4.0f;
constexpr float ringThickness = 2.0f;
} // namespace

DialogLook::DialogLook() = default;

DialogLook::~DialogLook() = default;

void DialogLook::drawButtonBackground (juce::Graphics& g, juce::Button& button,
                                       const juce::Colour& backgroundColour, bool isMouseOverButton,
                                       bool isButtonDown)
{
    juce::LookAndFeel_V4::drawButtonBackground (g, button, backgroundColour, isMouseOverButton, isButtonDown);

    if (!button.hasKeyboardFocus (false))
        return;

    g.setColour (CustomLook::focusRingColourOn (backgroundColour));
    g.drawRoundedRectangle (button.getLocalBounds().toFloat().reduced (ringInset), ringCorner, ringThickness);
}
