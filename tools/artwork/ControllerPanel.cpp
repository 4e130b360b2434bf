#include "ControllerPanel.h"

#include "ControllerParts.h"

static juce::Rectangle<float> placedPart (const char* name)
{
    for (auto& part : parts)
        if (juce::String (part.name) == name)
            return placeInside (part.bounds, part.width, part.height);
    jassertfalse;
    return {};
}

struct PanelLabel
{
    const char* text;
    juce::Rectangle<float> area;
};

// Printed on the panel under the octave buttons and the wheels, and beside the sustain socket.
static const PanelLabel panelLabels[] = {
    {"OCTAVE", {104.0f, 97.0f, 55.0f, 9.0f}},
    {"PITCH", {20.0f, 97.0f, 29.0f, 9.0f}},
    {"MOD", {49.0f, 97.0f, 29.0f, 9.0f}},
    {"SUSTAIN", {786.0f, 15.0f, 48.0f, 9.0f}},
};

static void drawKnobRings (juce::Graphics& g)
{
    const auto row = placedPart ("knobs");
    const auto cell = row.getWidth() / 4.0f;

    for (int i = 0; i < 4; ++i)
    {
        const juce::Point<float> centre (row.getX() + cell * ((float)i + 0.5f), row.getCentreY());
        juce::Path arc;
        arc.addCentredArc (centre.x, centre.y, 10.5f, 10.5f, 0.0f, juce::degreesToRadians (-135.0f),
                           juce::degreesToRadians (135.0f), true);
        g.setColour (juce::Colour (0xff8d949d));
        g.strokePath (arc, juce::PathStrokeType (1.2f));
        g.setColour (juce::Colours::white);
        g.setFont (dejaVu (8.5f, true));
        g.drawText (juce::String (i + 1),
                    juce::Rectangle<float> (12.0f, 9.0f).withCentre (centre.translated (0.0f, 14.5f)),
                    juce::Justification::centred, false);
    }
}

static void drawControllerBody (juce::Graphics& g)
{
    const auto outline = controllerSize.toFloat();
    g.setGradientFill (
        juce::ColourGradient (body.brighter (0.15f), 0.0f, 0.0f, body.darker (0.3f), 0.0f, 206.0f, false));
    g.fillRoundedRectangle (outline, 9.0f);
    g.setColour (juce::Colours::white.withAlpha (0.18f));
    g.drawRoundedRectangle (outline.reduced (0.5f), 9.0f, 1.0f);

    // The control plate on the left and the keybed's well.
    g.setColour (juce::Colours::black.withAlpha (0.22f));
    g.fillRoundedRectangle ({6.0f, 6.0f, 164.0f, 194.0f}, 6.0f);
    g.setColour (keyWell);
    g.fillRect (juce::Rectangle<float> (173.0f, 37.0f, 960.0f, 169.0f));

    g.setColour (juce::Colours::black.withAlpha (0.45f));

    for (auto& part : parts)
        if (part.recessed)
            g.fillRoundedRectangle (placedPart (part.name).expanded (2.0f), 4.0f);

    drawKnobRings (g);

    for (auto& label : panelLabels)
    {
        g.setColour (juce::Colour (0xffaab1ba));
        drawSpacedText (g, label.text, label.area, 8.0f, 0.12f, juce::Justification::centred);
    }

    // Maker and model across the top rail above the keys.
    const auto logoEnd =
        drawLogo (g, {190.0f, 9.0f, 200.0f, 21.0f}, accent.brighter (0.3f), juce::Colours::white);
    g.setColour (juce::Colour (0xff8d949d));
    g.setFont (dejaVu (10.0f));
    g.drawText ("ZELL SERIES", juce::Rectangle<float> (logoEnd + 14.0f, 9.0f, 120.0f, 21.0f),
                juce::Justification::centredLeft, false);
    g.setColour (juce::Colours::white);
    drawSpacedText (g, "MARLO", {900.0f, 6.0f, 230.0f, 28.0f}, 22.0f, 0.35f,
                    juce::Justification::centredRight);
    g.setColour (accent);
    g.fillRoundedRectangle ({1137.0f, 18.0f, 5.0f, 5.0f}, 2.5f); // power light

    // The sustain pedal's socket sits on the rear edge; the panel only marks it.
    g.setColour (juce::Colour (0xff8d949d));
    g.drawEllipse ({838.0f, 14.0f, 11.0f, 11.0f}, 1.5f);
    g.fillEllipse ({841.5f, 17.5f, 4.0f, 4.0f});
}

juce::Image drawController()
{
    auto image = newImage (controllerSize.getWidth(), controllerSize.getHeight());
    juce::Graphics g (image);
    inUnits (g);
    drawControllerBody (g);
    return image;
}

void drawAssembledController (juce::Graphics& g, juce::Point<int> origin, State state)
{
    g.drawImage (drawController(), controllerSize.toFloat().translated ((float)origin.x, (float)origin.y));

    for (auto& part : parts)
        g.drawImage (drawPart (part, state),
                     placedPart (part.name).translated ((float)origin.x, (float)origin.y));
}
