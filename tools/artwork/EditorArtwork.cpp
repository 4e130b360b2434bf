#include "EditorArtwork.h"

juce::Image drawBackground()
{
    auto image = newImage (1200, 700);
    juce::Graphics g (image);
    inUnits (g);
    g.addTransform (juce::AffineTransform::scale (1.0f, 700.0f / 750.0f));

    g.setColour (juce::Colours::white);
    g.fillRect (0, 0, 1200, 56);
    const auto logoEnd = drawLogo (g, {26.0f, 14.0f, 300.0f, 30.0f}, accent, ink);
    g.setColour (juce::Colour (0xffc3c9d0));
    g.fillRect (logoEnd + 18.0f, 17.0f, 1.5f, 24.0f);
    g.setColour (juce::Colour (0xff69717b));
    g.setFont (dejaVu (19.0f));
    g.drawText ("Zell Series Editor", juce::Rectangle<float> (logoEnd + 36.0f, 14.0f, 300.0f, 30.0f),
                juce::Justification::centredLeft, false);

    fillBrushed (g, {0, 56, 1200, 424}, juce::Colour (0xffe3e6e9), 0.05f, 7);
    g.setColour (juce::Colour (0xffc9ced4));
    g.fillRect (0, 56, 1200, 1);

    juce::Path controllerOutline;
    controllerOutline.addRoundedRectangle (26.0f, 65.0f, 1151.0f, 206.0f, 9.0f);
    juce::DropShadow (juce::Colours::black.withAlpha (0.45f), 14, {0, 5}).drawForPath (g, controllerOutline);

    g.setColour (accent);
    g.fillRect (0, 480, 1200, 270);
    return image;
}

const TabArt tabs[] = {
    {"main", 175, "Main"},       {"knobs", 170, "Knobs"},   {"switches", 170, "Switches"},
    {"pads", 170, "Drum Pads"},  {"keybed", 170, "Keybed"}, {"wheels", 170, "Mod/Pitch"},
    {"sustain", 175, "Sustain"},
};

juce::Image drawTab (const TabArt& tab, State state)
{
    auto image = newImage (tab.width, 40);
    juce::Graphics g (image);
    inUnits (g);
    const auto area = unitBounds (image).toFloat();
    const auto pressed = state == State::pressed;

    g.setColour (pressed ? accent
                         : (state == State::hover ? juce::Colour (0xffe2e6ea) : juce::Colours::white));
    g.fillRect (area);

    // The lit tab runs into the blue band below; the others get edges between neighbours and a
    // shade along the foot, so the row reads as tabs.
    if (!pressed)
    {
        g.setColour (juce::Colour (0xffc2cad2));
        g.fillRect (area.getRight() - 1.0f, 6.0f, 1.0f, 28.0f);
        g.setColour (juce::Colours::black.withAlpha (0.08f));
        g.fillRect (area.withTop (area.getBottom() - 3.0f));
    }

    g.setColour (pressed ? juce::Colours::white : accent);
    g.setFont (dejaVu (17.0f, true));
    g.drawText (tab.label, area, juce::Justification::centred, false);
    return image;
}

const TransferArt transfers[] = {
    {"get", "Get Preset from Hardware", true},
    {"send", "Send Preset to Hardware", false},
    {"load", "Load Preset from Hard Drive", true},
    {"save", "Save Preset to Hard Drive", false},
};

juce::Image drawTransferButton (const TransferArt& button, State state)
{
    auto image = newImage (249, 35);
    juce::Graphics g (image);
    inUnits (g);
    const auto area = unitBounds (image).toFloat().reduced (1.0f);

    g.setColour (state == State::hover ? juce::Colour (0xffdde2e7) : juce::Colours::white);
    g.fillRoundedRectangle (area, 6.0f);
    g.setColour (juce::Colour (0xff0b4f80));
    g.drawRoundedRectangle (area, 6.0f, 1.5f);

    const auto badge = juce::Rectangle<float> (23.0f, 23.0f).withCentre ({20.0f, area.getCentreY()});
    g.setColour (accent);
    g.fillEllipse (badge);
    juce::Path arrow;
    arrow.addArrow ({badge.getCentreX(), badge.getY() + 5.0f, badge.getCentreX(), badge.getBottom() - 5.0f},
                    2.5f, 9.0f, 6.0f);

    if (!button.intoEditor)
        arrow.applyTransform (juce::AffineTransform::rotation (juce::MathConstants<float>::pi,
                                                               badge.getCentreX(), badge.getCentreY()));

    g.setColour (juce::Colours::white);
    g.fillPath (arrow);

    g.setColour (ink);
    g.setFont (dejaVu (13.5f, true));
    g.drawText (button.label, area.withTrimmedLeft (38.0f).withTrimmedRight (6.0f),
                juce::Justification::centredLeft, true);
    return image;
}

juce::Image drawArrow (bool right, State state)
{
    auto image = newImage (17, 26);
    juce::Graphics g (image);
    inUnits (g);
    const auto area = unitBounds (image).toFloat().reduced (0.5f);
    const auto pressed = state == State::pressed;

    g.setColour (juce::Colours::white.withAlpha (pressed ? 1.0f : (state == State::hover ? 0.4f : 0.18f)));
    g.fillRoundedRectangle (area, 4.0f);

    juce::Path chevron;
    chevron.startNewSubPath (11.0f, 6.0f);
    chevron.lineTo (5.5f, 13.0f);
    chevron.lineTo (11.0f, 20.0f);

    if (right)
        chevron.applyTransform (juce::AffineTransform::scale (-1.0f, 1.0f).translated (17.0f, 0.0f));

    g.setColour (pressed ? accent : juce::Colours::white);
    g.strokePath (chevron,
                  juce::PathStrokeType (2.5f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    return image;
}
