#include "ControllerParts.h"

struct PartColours
{
    juce::Colour face, rim, mark;
};

static PartColours partColours (State state)
{
    switch (state)
    {
        case State::hover:
            return {juce::Colour (0xff646b74), juce::Colour (0xffb4bcc5), juce::Colours::white};
        case State::pressed:
            return {accent, juce::Colour (0xff9ad6ff), juce::Colours::white};
        case State::normal:
            break;
    }
    return {juce::Colour (0xff3c4047), juce::Colour (0xff6b7079), juce::Colour (0xffb8bec6)};
}

static void fillCap (juce::Graphics& g, const juce::Path& shape, juce::Rectangle<float> box, State state)
{
    const auto colours = partColours (state);

    if (state == State::pressed)
    {
        juce::DropShadow (accent.brighter (0.4f).withAlpha (0.9f), 6, {}).drawForPath (g, shape);
    }

    g.setGradientFill (juce::ColourGradient (colours.face.brighter (0.25f), box.getTopLeft(),
                                             colours.face.darker (0.35f), box.getBottomLeft(), false));
    g.fillPath (shape);
    g.setColour (colours.rim);
    g.strokePath (shape, juce::PathStrokeType (2.0f));
}

static void drawKnobRow (juce::Graphics& g, juce::Rectangle<float> area, State state)
{
    const auto colours = partColours (state);
    const auto cell = area.getWidth() / 4.0f;
    const auto radius = area.getHeight() * 0.5f - 2.0f;

    for (int i = 0; i < 4; ++i)
    {
        const juce::Point<float> centre (area.getX() + cell * ((float)i + 0.5f), area.getCentreY());
        const auto box = juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (centre);
        juce::Path cap;
        cap.addEllipse (box);
        fillCap (g, cap, box, state);

        // Knobs at different positions, as a played controller would show them.
        const auto angle = juce::degreesToRadians (-135.0f + 75.0f * (float)i);
        g.setColour (colours.mark);
        g.drawLine ({centre, centre.getPointOnCircumference (radius * 0.85f, angle)}, 3.0f);
    }
}

enum class Mark
{
    led,
    number,
    minusPlus
};

struct Grid
{
    int columns, rows;
    float gap, corner;
    Mark mark;
};

static void drawMark (juce::Graphics& g, Mark mark, int index, juce::Rectangle<float> cap, State state)
{
    const auto colours = partColours (state);

    switch (mark)
    {
        case Mark::led:
        {
            const auto led =
                juce::Rectangle<float> (6.0f, 6.0f).withCentre ({cap.getCentreX(), cap.getY() + 7.0f});
            g.setColour (state == State::pressed ? juce::Colours::white : juce::Colour (0xff1a1c20));
            g.fillEllipse (led);
            break;
        }
        case Mark::number:
            g.setColour (colours.mark.withAlpha (0.8f));
            g.setFont (dejaVu (16.0f, true));
            g.drawText (juce::String (index + 1), cap.reduced (6.0f, 4.0f), juce::Justification::bottomRight,
                        false);
            break;
        case Mark::minusPlus:
        {
            const auto c = cap.getCentre();
            const auto arm = cap.getHeight() * 0.28f;
            g.setColour (colours.mark);
            g.drawLine (c.x - arm, c.y, c.x + arm, c.y, 3.0f);

            if (index == 1)
                g.drawLine (c.x, c.y - arm, c.x, c.y + arm, 3.0f);
            break;
        }
    }
}

static void drawButtonGrid (juce::Graphics& g, juce::Rectangle<float> area, State state, Grid grid)
{
    const auto cellW = area.getWidth() / (float)grid.columns;
    const auto cellH = area.getHeight() / (float)grid.rows;

    for (int row = 0; row < grid.rows; ++row)
    {
        for (int column = 0; column < grid.columns; ++column)
        {
            const auto cap = juce::Rectangle<float> (area.getX() + cellW * (float)column,
                                                     area.getY() + cellH * (float)row, cellW, cellH)
                                 .reduced (grid.gap * 0.5f);
            juce::Path shape;
            shape.addRoundedRectangle (cap, grid.corner);
            fillCap (g, shape, cap, state);
            drawMark (g, grid.mark, row * grid.columns + column, cap, state);
        }
    }
}

static void drawWheels (juce::Graphics& g, juce::Rectangle<float> area, State state)
{
    const auto colours = partColours (state);

    for (int i = 0; i < 2; ++i)
    {
        const auto slot = area.withWidth (area.getWidth() * 0.5f)
                              .translated (area.getWidth() * 0.5f * (float)i, 0.0f)
                              .reduced (5.0f, 1.0f);
        g.setColour (keyWell);
        g.fillRoundedRectangle (slot, 7.0f);

        const auto wheel = slot.reduced (8.0f, 6.0f);
        juce::ColourGradient shading (colours.face.darker (0.7f), wheel.getTopLeft(),
                                      colours.face.darker (0.7f), wheel.getTopRight(), false);
        shading.addColour (0.5, colours.face.brighter (0.35f));
        g.setGradientFill (shading);
        g.fillRoundedRectangle (wheel, 5.0f);

        // Grip ridges; the pitch wheel (left) also carries its centre mark.
        g.setColour (juce::Colours::black.withAlpha (0.35f));

        for (auto y = wheel.getY() + 6.0f; y < wheel.getBottom() - 4.0f; y += 7.0f)
            g.fillRect (wheel.getX() + 2.0f, y, wheel.getWidth() - 4.0f, 2.0f);

        if (i == 0)
        {
            g.setColour (colours.mark);
            g.fillRect (wheel.getX(), wheel.getCentreY() - 2.0f, wheel.getWidth(), 4.0f);
        }

        g.setColour (colours.rim);
        g.drawRoundedRectangle (wheel, 5.0f, 2.0f);
    }
}

// Four octaves and a top C: 29 white keys.
static void drawKeybed (juce::Graphics& g, juce::Rectangle<float> area, State state)
{
    constexpr int whiteKeys = 29;
    // Centres of the black keys within one octave, in white-key widths from its C.
    static const float blackCentres[] = {0.93f, 2.07f, 3.9f, 5.0f, 6.1f};

    const auto white = state == State::pressed
                           ? juce::Colour (0xffc4e2f8)
                           : (state == State::hover ? juce::Colours::white : juce::Colour (0xffe9e9e6));
    const auto black = state == State::pressed
                           ? juce::Colour (0xff0b5f9a)
                           : (state == State::hover ? juce::Colour (0xff454a52) : juce::Colour (0xff17181b));

    g.setColour (keyWell);
    g.fillRect (area);
    g.setColour (juce::Colour (0xff6e1f24)); // felt strip behind the keys
    g.fillRect (area.getX(), area.getY() + 3.0f, area.getWidth(), 3.0f);

    const auto keys = area.withTrimmedTop (6.0f);
    const auto keyWidth = keys.getWidth() / (float)whiteKeys;

    for (int i = 0; i < whiteKeys; ++i)
    {
        const auto key =
            keys.withX (keys.getX() + keyWidth * (float)i).withWidth (keyWidth).reduced (1.0f, 0.0f);
        g.setGradientFill (juce::ColourGradient (white.darker (0.25f), key.getTopLeft(), white,
                                                 key.getTopLeft().translated (0.0f, 18.0f), false));
        g.fillRoundedRectangle (key.withTrimmedBottom (1.0f), 2.5f);
        g.setColour (white.darker (0.3f));
        g.fillRect (key.withTop (key.getBottom() - 5.0f).withTrimmedBottom (1.0f));
    }

    const auto blackWidth = keyWidth * 0.58f;
    const auto blackLength = keys.getHeight() * 0.62f;

    for (int octave = 0; octave * 7 < whiteKeys - 1; ++octave)
    {
        for (auto centre : blackCentres)
        {
            const auto x = keys.getX() + keyWidth * ((float)octave * 7.0f + centre) - blackWidth * 0.5f;
            const juce::Rectangle<float> key (x, keys.getY(), blackWidth, blackLength);
            g.setColour (black);
            g.fillRoundedRectangle (key, 2.0f);
            // The top face catches light along its length; the front slope stays darker.
            const auto top = key.reduced (2.5f, 0.0f).withTrimmedBottom (7.0f);
            g.setGradientFill (juce::ColourGradient (black, top.getTopLeft(), black.brighter (0.3f),
                                                     top.getBottomLeft(), false));
            g.fillRoundedRectangle (top, 1.5f);
        }
    }
}

static std::function<void (juce::Graphics&, juce::Rectangle<float>, State)> grid (Grid layout)
{
    return [layout] (juce::Graphics& g, juce::Rectangle<float> area, State state)
    { drawButtonGrid (g, area, state, layout); };
}

const PartArt parts[] = {
    {"knobs", 216, 32, {41, 12, 112, 16}, false, drawKnobRow},
    {"switches", 107, 68, {104, 41, 55, 35}, true, grid ({2, 2, 9.0f, 5.0f, Mark::led})},
    {"pads", 296, 148, {13, 114, 153, 76}, true, grid ({4, 2, 10.0f, 8.0f, Mark::number})},
    {"keybed", 955, 167, {175, 40, 955, 167}, false, drawKeybed},
    {"octave", 107, 30, {104, 80, 55, 15}, true, grid ({2, 1, 12.0f, 6.0f, Mark::minusPlus})},
    {"wheels", 112, 97, {20, 44, 58, 50}, true, drawWheels},
};

juce::Image drawPart (const PartArt& part, State state)
{
    auto image = newImage (part.width, part.height);
    juce::Graphics g (image);
    inUnits (g);
    part.draw (g, unitBounds (image).toFloat(), state);
    return image;
}
