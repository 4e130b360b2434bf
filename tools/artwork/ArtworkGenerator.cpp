// Draws every picture the editor embeds and writes them as PNG files, and the desktop's icons.
//
// Usage: marlo-artwork [outputFolder] [--icons iconFolder] [--preview previewFolder]
// The output folder defaults to the repository's resources/, the icon folder to packaging/icons/
// (the icons the installed desktop shows but the editor does not embed). The previews show the
// pictures put together the way the editor places them, so the artwork can be judged without
// running the editor.
// Everything is drawn from code and fixed seeds, so running it twice gives identical files.

#include <juce_gui_basics/juce_gui_basics.h>

#include "editor/EditorComponent.h"

#include <functional>
#include <iostream>
#include <png.h>
#include <vector>

enum class State
{
    normal,
    hover,
    pressed
};

static const juce::Colour accent (0xff117fc6);
static const juce::Colour ink (0xff22262b);
static const juce::Colour body (0xff26292e);
static const juce::Colour keyWell (0xff0d0e10);

static const State allStates[] = {State::normal, State::hover, State::pressed};

static juce::String stateSuffix (State state)
{
    switch (state)
    {
        case State::hover:
            return "_hover";
        case State::pressed:
            return "_pressed";
        case State::normal:
            break;
    }
    return "_normal";
}

//==============================================================================
// Small drawing helpers.

static juce::Font dejaVu (float height, bool bold = false)
{
    return juce::Font ("DejaVu Sans", height, bold ? juce::Font::bold : juce::Font::plain);
}

static void drawSpacedText (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area,
                            float height, float kerning, juce::Justification justification)
{
    auto font = dejaVu (height, true);
    font.setExtraKerningFactor (kerning);
    g.setFont (font);
    g.drawText (text, area, justification, false);
}

// The maker's emblem: a ring holding three bars, like keys seen end-on or a level meter. One shape
// filled even-odd, so that the icon's scalable picture can carry it as it is.
static juce::Path emblemPath (juce::Point<float> centre, float radius)
{
    juce::Path emblem;
    // The ring's middle line and its width, as a stroke of the circle would be made.
    const auto ring =
        juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (centre).reduced (radius * 0.09f);
    const auto ringWidth = radius * 0.18f;
    emblem.addEllipse (ring.expanded (ringWidth * 0.5f));
    emblem.addEllipse (ring.reduced (ringWidth * 0.5f));

    static const float barHeights[] = {0.55f, 0.95f, 0.7f};
    const auto barWidth = radius * 0.22f;

    for (int i = 0; i < 3; ++i)
    {
        const auto x = centre.x + (float)(i - 1) * barWidth * 1.6f;
        const auto h = radius * barHeights[i];
        emblem.addRoundedRectangle (x - barWidth * 0.5f, centre.y - h * 0.5f, barWidth, h, barWidth * 0.3f);
    }

    emblem.setUsingNonZeroWinding (false);
    return emblem;
}

static void drawEmblem (juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour)
{
    g.setColour (colour);
    g.fillPath (emblemPath (centre, radius));
}

// Emblem and "ORVANE" wordmark, fitted to the height of the area, starting at its left.
static float drawLogo (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour emblem, juce::Colour word)
{
    const auto h = area.getHeight();
    drawEmblem (g, {area.getX() + h * 0.5f, area.getCentreY()}, h * 0.5f, emblem);

    auto font = dejaVu (h * 0.78f, true);
    font.setExtraKerningFactor (0.14f);
    const auto textArea = area.withTrimmedLeft (h * 1.3f);
    g.setColour (word);
    g.setFont (font);
    g.drawText ("ORVANE", textArea, juce::Justification::centredLeft, false);
    return textArea.getX() + font.getStringWidthFloat ("ORVANE");
}

// Horizontal hairlines of slightly varying grey: reads as brushed metal and compresses well.
static void fillBrushed (juce::Graphics& g, juce::Rectangle<int> area, juce::Colour base, float depth,
                         int seed)
{
    juce::Random random (seed);

    for (int y = area.getY(); y < area.getBottom(); ++y)
    {
        const auto shade = (random.nextFloat() - 0.5f) * depth;
        g.setColour (shade > 0 ? base.brighter (shade) : base.darker (-shade));
        g.fillRect (area.getX(), y, area.getWidth(), 1);
    }

    // Short streaks break up the rows the way a brush does.
    for (int i = area.getWidth() * area.getHeight() / 400; --i >= 0;)
    {
        const auto length = 30 + random.nextInt (220);
        const auto x = area.getX() + random.nextInt (area.getWidth()) - length / 2;
        const auto y = area.getY() + random.nextInt (area.getHeight());
        g.setColour ((random.nextBool() ? juce::Colours::white : juce::Colours::black)
                         .withAlpha (depth * (0.3f + random.nextFloat() * 0.5f)));
        g.fillRect (x, y, length, 1);
    }
}

// Pixels per unit of the pictures being drawn: 1, then 2 for the set the editor draws on a scaled
// display or in a zoomed window. Every picture is drawn in its own units, whatever the scale.
static float pixelScale = 1.0f;

static juce::Image newImage (int width, int height)
{
    return juce::Image (juce::Image::ARGB, juce::roundToInt ((float)width * pixelScale),
                        juce::roundToInt ((float)height * pixelScale), true);
}

// Makes a context on a new image draw in the picture's units.
static void inUnits (juce::Graphics& g)
{
    g.addTransform (juce::AffineTransform::scale (pixelScale));
}

// An image's area in the units it was drawn in.
static juce::Rectangle<int> unitBounds (const juce::Image& image)
{
    return {juce::roundToInt ((float)image.getWidth() / pixelScale),
            juce::roundToInt ((float)image.getHeight() / pixelScale)};
}

// Where the editor draws a picture scaled into smaller bounds: centred, proportions kept.
static juce::Rectangle<float> placeInside (juce::Rectangle<int> bounds, int width, int height)
{
    return juce::RectanglePlacement (juce::RectanglePlacement::centred)
        .appliedTo (juce::Rectangle<float> ((float)width, (float)height), bounds.toFloat());
}

//==============================================================================
// The controller's parts. Five of them are shown at 52 %, so strokes are at least two pixels.

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

struct PartArt
{
    const char* name;
    int width, height;
    juce::Rectangle<int> bounds; // final bounds in the controller picture
    bool recessed;               // the panel shows a recess under it
    std::function<void (juce::Graphics&, juce::Rectangle<float>, State)> draw;
};

static std::function<void (juce::Graphics&, juce::Rectangle<float>, State)> grid (Grid layout)
{
    return [layout] (juce::Graphics& g, juce::Rectangle<float> area, State state)
    { drawButtonGrid (g, area, state, layout); };
}

static const PartArt parts[] = {
    {"knobs", 216, 32, {41, 12, 112, 16}, false, drawKnobRow},
    {"switches", 107, 68, {104, 41, 55, 35}, true, grid ({2, 2, 9.0f, 5.0f, Mark::led})},
    {"pads", 296, 148, {13, 114, 153, 76}, true, grid ({4, 2, 10.0f, 8.0f, Mark::number})},
    {"keybed", 955, 167, {175, 40, 955, 167}, false, drawKeybed},
    {"octave", 107, 30, {104, 80, 55, 15}, true, grid ({2, 1, 12.0f, 6.0f, Mark::minusPlus})},
    {"wheels", 112, 97, {20, 44, 58, 50}, true, drawWheels},
};

static juce::Image drawPart (const PartArt& part, State state)
{
    auto image = newImage (part.width, part.height);
    juce::Graphics g (image);
    inUnits (g);
    part.draw (g, unitBounds (image).toFloat(), state);
    return image;
}

//==============================================================================
// The controller's top panel. The parts are drawn over it by the editor; underneath each one it
// shows a recess, so a part's transparent corners show the body.

static const juce::Rectangle<int> controllerSize (1151, 206);

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

static juce::Image drawController()
{
    auto image = newImage (controllerSize.getWidth(), controllerSize.getHeight());
    juce::Graphics g (image);
    inUnits (g);
    drawControllerBody (g);
    return image;
}

// The controller as the editor shows it: the panel with every part in one state on top.
static void drawAssembledController (juce::Graphics& g, juce::Point<int> origin, State state)
{
    g.drawImage (drawController(), controllerSize.toFloat().translated ((float)origin.x, (float)origin.y));

    for (auto& part : parts)
        g.drawImage (drawPart (part, state),
                     placedPart (part.name).translated ((float)origin.x, (float)origin.y));
}

//==============================================================================
// Editor background, tabs, transfer buttons and bank arrows.

// The background is stretched to 750 rows when shown; drawing in those shown coordinates keeps the
// logo's proportions and lines up the shadow and the band with what sits on top of them.
static juce::Image drawBackground()
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

struct TabArt
{
    const char* name;
    int width;
    const char* label;
};

static const TabArt tabs[] = {
    {"main", 175, "Main"},       {"knobs", 170, "Knobs"},   {"switches", 170, "Switches"},
    {"pads", 170, "Drum Pads"},  {"keybed", 170, "Keybed"}, {"wheels", 170, "Mod/Pitch"},
    {"sustain", 175, "Sustain"},
};

static juce::Image drawTab (const TabArt& tab, State state)
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

struct TransferArt
{
    const char* name;
    const char* label;
    bool intoEditor; // the arrow points down for what comes into the editor, up for what leaves it
};

static const TransferArt transfers[] = {
    {"get", "Get Preset from Hardware", true},
    {"send", "Send Preset to Hardware", false},
    {"load", "Load Preset from Hard Drive", true},
    {"save", "Save Preset to Hard Drive", false},
};

static juce::Image drawTransferButton (const TransferArt& button, State state)
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

static juce::Image drawArrow (bool right, State state)
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

//==============================================================================
// About picture, Device Setup pictures and the application icon.

static juce::Image drawAbout()
{
    auto image = newImage (484, 267);
    juce::Graphics g (image);
    inUnits (g);
    g.setGradientFill (juce::ColourGradient (juce::Colours::white, 0.0f, 0.0f, juce::Colour (0xffeef1f4),
                                             0.0f, 267.0f, false));
    g.fillAll();

    const auto logoWidth = 210.0f;
    drawLogo (g, {(484.0f - logoWidth) * 0.5f, 8.0f, logoWidth, 26.0f}, accent, ink);
    g.setColour (ink);
    g.setFont (dejaVu (17.0f, true));
    g.drawText ("Marlo Editor", juce::Rectangle<float> (0.0f, 36.0f, 484.0f, 20.0f),
                juce::Justification::centred, false);

    // A small picture of the controller, drawn at full size first so the reduction stays smooth.
    auto controller = newImage (controllerSize.getWidth(), controllerSize.getHeight());
    {
        juce::Graphics cg (controller);
        inUnits (cg);
        drawAssembledController (cg, {}, State::normal);
    }
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
    g.drawImage (controller, juce::Rectangle<float> (357.6f, 64.0f).withCentre ({242.0f, 93.0f}));

    // The editor writes its version at 133..148 and two lines at 211..242; those bands stay empty.
    g.setColour (juce::Colour (0xff69717b));
    g.setFont (dejaVu (12.0f));
    g.drawText ("Preset editor for the Zell Series USB MIDI keyboard controller",
                juce::Rectangle<float> (0.0f, 162.0f, 484.0f, 16.0f), juce::Justification::centred, false);
    g.setColour (accent);
    g.fillRect (172.0f, 190.0f, 140.0f, 2.0f);
    g.fillRect (0.0f, 255.0f, 484.0f, 12.0f);
    return image;
}

static juce::Image drawDeviceSetupBackground()
{
    auto image = newImage (360, 425);
    juce::Graphics g (image);
    inUnits (g);
    fillBrushed (g, unitBounds (image), juce::Colour (0xffeceef1), 0.04f, 11);

    // Header bar; "INPUT" is written from y 44 and the buttons sit at 381..413 on the plain ground.
    g.setColour (accent);
    g.fillRect (0, 0, 360, 32);
    drawLogo (g, {14.0f, 8.0f, 120.0f, 16.0f}, juce::Colours::white, juce::Colours::white);
    g.setColour (juce::Colours::white.withAlpha (0.85f));
    g.setFont (dejaVu (13.0f));
    g.drawText ("MIDI Devices", juce::Rectangle<float> (200.0f, 0.0f, 146.0f, 32.0f),
                juce::Justification::centredRight, false);

    g.setColour (juce::Colour (0xffc3c9d0));
    g.fillRect (15, 372, 330, 1);
    return image;
}

static juce::Image drawDeviceListFrame()
{
    auto image = newImage (327, 141);
    juce::Graphics g (image);
    inUnits (g);
    const auto area = unitBounds (image).toFloat().reduced (0.75f);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff1b1f24), 0.0f, 0.0f, juce::Colour (0xff2b3139),
                                             0.0f, 141.0f, false));
    g.fillRoundedRectangle (area, 6.0f);
    g.setColour (juce::Colour (0xffb3bec9));
    g.drawRoundedRectangle (area, 6.0f, 1.5f);
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.drawRoundedRectangle (area.reduced (1.5f), 5.0f, 1.0f);
    return image;
}

// The application icon as filled shapes on a square of iconDesignSize units, so that one drawing
// gives the pictures at every size the desktop asks for and the scalable one.
struct IconShape
{
    juce::Path path;
    juce::FillType fill;
};

static constexpr float iconDesignSize = 256.0f;

static std::vector<IconShape> appIconShapes()
{
    std::vector<IconShape> shapes;
    const auto area = juce::Rectangle<float> (iconDesignSize, iconDesignSize).reduced (8.0f);
    juce::Path tile;
    tile.addRoundedRectangle (area, 44.0f);
    shapes.push_back ({tile, juce::ColourGradient (accent.brighter (0.25f), area.getTopLeft(),
                                                   accent.darker (0.45f), area.getBottomRight(), false)});
    shapes.push_back ({emblemPath ({128.0f, 88.0f}, 46.0f), juce::Colours::white});

    // One octave of keys.
    const juce::Rectangle<float> keys (44.0f, 152.0f, 168.0f, 64.0f);
    const auto keyWidth = keys.getWidth() / 7.0f;
    juce::Path whiteKeys;

    for (int i = 0; i < 7; ++i)
        whiteKeys.addRoundedRectangle (
            keys.withX (keys.getX() + keyWidth * (float)i).withWidth (keyWidth).reduced (2.0f, 0.0f), 4.0f);

    shapes.push_back ({whiteKeys, juce::Colours::white});

    static const float blackCentres[] = {0.93f, 2.07f, 3.9f, 5.0f, 6.1f};
    juce::Path blackKeys;

    for (auto centre : blackCentres)
        blackKeys.addRoundedRectangle (keys.getX() + keyWidth * centre - 8.0f, keys.getY(), 16.0f, 38.0f,
                                       3.0f);

    shapes.push_back ({blackKeys, accent.darker (0.6f)});
    return shapes;
}

static juce::Image drawAppIcon (int size)
{
    auto image = newImage (size, size);
    juce::Graphics g (image);
    inUnits (g);
    g.addTransform (juce::AffineTransform::scale ((float)size / iconDesignSize));

    for (const auto& shape : appIconShapes())
    {
        g.setFillType (shape.fill);
        g.fillPath (shape.path);
    }

    return image;
}

//==============================================================================
// The scalable icon: the same shapes written as SVG.

static juce::String svgNumber (float value)
{
    return juce::String (value, 2).trimCharactersAtEnd ("0").trimCharactersAtEnd (".");
}

/** Sets a colour and, when it is not opaque, its opacity: SVG 1.1 keeps them apart. */
static void setSvgColour (juce::XmlElement& element, const char* colourName, const char* opacityName,
                          juce::Colour colour)
{
    element.setAttribute (colourName, "#" + colour.toDisplayString (false).toLowerCase());

    if (!colour.isOpaque())
        element.setAttribute (opacityName, svgNumber (colour.getFloatAlpha()));
}

static juce::String svgPathData (const juce::Path& path)
{
    juce::StringArray data;

    for (juce::Path::Iterator i (path); i.next();)
    {
        const float points[] = {i.x1, i.y1, i.x2, i.y2, i.x3, i.y3};
        static const std::pair<const char*, int> commands[] = {
            {"M", 1}, {"L", 1}, {"Q", 2}, {"C", 3}, {"Z", 0}};
        const auto& command = commands[(int)i.elementType];
        data.add (command.first);

        for (int p = 0; p < command.second * 2; ++p)
            data.add (svgNumber (points[p]));
    }

    return data.joinIntoString (" ");
}

/** Gives a shape its fill; a gradient is added to the definitions and referred to. */
static void setSvgFill (juce::XmlElement& shape, const juce::FillType& fill, juce::XmlElement& definitions)
{
    if (!fill.isGradient())
    {
        setSvgColour (shape, "fill", "fill-opacity", fill.colour);
        return;
    }

    const auto& gradient = *fill.gradient;
    const auto id = "fill" + juce::String (definitions.getNumChildElements() + 1);
    auto* linear = definitions.createNewChildElement ("linearGradient");
    linear->setAttribute ("id", id);
    linear->setAttribute ("gradientUnits", "userSpaceOnUse");
    linear->setAttribute ("x1", svgNumber (gradient.point1.x));
    linear->setAttribute ("y1", svgNumber (gradient.point1.y));
    linear->setAttribute ("x2", svgNumber (gradient.point2.x));
    linear->setAttribute ("y2", svgNumber (gradient.point2.y));

    for (int i = 0; i < gradient.getNumColours(); ++i)
    {
        auto* stop = linear->createNewChildElement ("stop");
        stop->setAttribute ("offset", svgNumber ((float)gradient.getColourPosition (i)));
        setSvgColour (*stop, "stop-color", "stop-opacity", gradient.getColour (i));
    }

    shape.setAttribute ("fill", "url(#" + id + ")");
}

static juce::String drawAppIconSvg()
{
    juce::XmlElement svg ("svg");
    const auto size = svgNumber (iconDesignSize);
    svg.setAttribute ("xmlns", "http://www.w3.org/2000/svg");
    svg.setAttribute ("width", size);
    svg.setAttribute ("height", size);
    svg.setAttribute ("viewBox", "0 0 " + size + " " + size);
    auto* definitions = svg.createNewChildElement ("defs");

    for (const auto& shape : appIconShapes())
    {
        auto* path = svg.createNewChildElement ("path");
        path->setAttribute ("d", svgPathData (shape.path));
        setSvgFill (*path, shape.fill, *definitions);

        if (!shape.path.isUsingNonZeroWinding())
            path->setAttribute ("fill-rule", "evenodd");
    }

    return svg.toString (juce::XmlElement::TextFormat().withoutHeader());
}

//==============================================================================
// Writing and previews.

// An opaque picture is shown as it is, so the first window waits for its decoding: its rows are
// left unfiltered, which decodes in half the time of the usual filters and is no larger here.
static bool encodeOpaque (const juce::Image& image, juce::OutputStream& out)
{
    auto* png = png_create_write_struct (PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    auto* info = png != nullptr ? png_create_info_struct (png) : nullptr;

    if (info == nullptr || setjmp (png_jmpbuf (png)))
    {
        png_destroy_write_struct (&png, info != nullptr ? &info : nullptr);
        return false;
    }

    png_set_write_fn (
        png, &out,
        [] (png_structp writer, png_bytep data, png_size_t size)
        { static_cast<juce::OutputStream*> (png_get_io_ptr (writer))->write (data, size); },
        [] (png_structp) {});
    png_set_IHDR (png, info, static_cast<png_uint_32> (image.getWidth()),
                  static_cast<png_uint_32> (image.getHeight()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                  PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter (png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level (png, 9);
    png_write_info (png, info);

    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);
    std::vector<png_byte> row (static_cast<size_t> (image.getWidth()) * 3);

    for (int y = 0; y < image.getHeight(); ++y)
    {
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto colour = pixels.getPixelColour (x, y);
            row[static_cast<size_t> (x) * 3] = colour.getRed();
            row[static_cast<size_t> (x) * 3 + 1] = colour.getGreen();
            row[static_cast<size_t> (x) * 3 + 2] = colour.getBlue();
        }

        png_write_row (png, row.data());
    }

    png_write_end (png, info);
    png_destroy_write_struct (&png, &info);
    return true;
}

class ArtworkWriter final
{
public:
    explicit ArtworkWriter (juce::File folder) : folder (std::move (folder)) {}

    juce::File fileFor (const juce::String& name) const { return folder.getChildFile (name + ".png"); }

    // Refuses to change the pixel size of a picture that is already there: the editor places the
    // pictures by their sizes.
    void write (const juce::String& name, const juce::Image& image)
    {
        const auto file = fileFor (name);

        if (file.existsAsFile())
        {
            const auto previous = juce::ImageFileFormat::loadFrom (file);

            if (previous.isValid() && previous.getBounds() != image.getBounds())
            {
                std::cerr << name << ": " << image.getWidth() << "x" << image.getHeight() << " instead of "
                          << previous.getWidth() << "x" << previous.getHeight() << "\n";
                failed = true;
                return;
            }
        }

        juce::MemoryOutputStream png;
        juce::PNGImageFormat format;
        const auto encoded = image.getFormat() == juce::Image::RGB ? encodeOpaque (image, png)
                                                                   : format.writeImageToStream (image, png);

        if (!encoded || !file.replaceWithData (png.getData(), png.getDataSize()))
        {
            std::cerr << "cannot write " << file.getFullPathName() << "\n";
            failed = true;
        }
    }

    void writeText (const juce::String& fileName, const juce::String& text)
    {
        const auto file = folder.getChildFile (fileName);

        if (!file.replaceWithText (text))
        {
            std::cerr << "cannot write " << file.getFullPathName() << "\n";
            failed = true;
        }
    }

    bool hasFailed() const { return failed; }

private:
    juce::File folder;
    bool failed = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ArtworkWriter)
};

// The pictures of a document window, named with a suffix: none for the set at one pixel per unit.
static void writeEditorPictures (ArtworkWriter& writer, const juce::String& suffix)
{
    writer.write ("background" + suffix, drawBackground());
    writer.write ("controller" + suffix, drawController());

    for (auto state : allStates)
    {
        for (auto& part : parts)
            writer.write ("part_" + juce::String (part.name) + stateSuffix (state) + suffix,
                          drawPart (part, state));

        for (auto& tab : tabs)
            writer.write ("tab_" + juce::String (tab.name) + stateSuffix (state) + suffix,
                          drawTab (tab, state));

        writer.write ("arrow_left" + stateSuffix (state) + suffix, drawArrow (false, state));
        writer.write ("arrow_right" + stateSuffix (state) + suffix, drawArrow (true, state));

        if (state != State::pressed)
            for (auto& button : transfers)
                writer.write ("transfer_" + juce::String (button.name) + stateSuffix (state) + suffix,
                              drawTransferButton (button, state));
    }
}

static void writeAll (ArtworkWriter& writer)
{
    writeEditorPictures (writer, {});
    writer.write ("about", drawAbout());
    writer.write ("device_setup_background", drawDeviceSetupBackground());
    writer.write ("device_list_frame", drawDeviceListFrame());
    writer.write ("app_icon", drawAppIcon ((int)iconDesignSize));
    // The framework hands a window's icon to the X server pixel by pixel, three times over (the
    // icon property, a pixmap and its mask): at 256 px that cost more than building a page. Task
    // lists and switchers show 16 to 64 px and take the large sizes from the installed icons.
    writer.write ("window_icon", drawAppIcon (64));

    // Drawn at twice the pixels, not enlarged: the editor draws these where a window is scaled
    // above 100 %. Only a document window zooms, so the smaller windows have no such set.
    pixelScale = 2.0f;
    writeEditorPictures (writer, "_2x");
    pixelScale = 1.0f;
}

// The icon at the other sizes a desktop asks for, and scalable; the editor embeds only the largest.
static void writeDesktopIcons (ArtworkWriter& writer)
{
    for (auto size : {48, 64, 128})
        writer.write ("app_icon_" + juce::String (size), drawAppIcon (size));

    writer.writeText ("app_icon.svg", drawAppIconSvg());
}

// The editor window as it would look with the given tab lit; the parts all in one state.
static juce::Image drawPreview (State partState, int litTab)
{
    auto image = newImage (1200, 700);
    juce::Graphics g (image);
    inUnits (g);
    g.fillAll (juce::Colours::white);
    g.drawImage (drawBackground(), {0.0f, 0.0f, 1200.0f, 750.0f});
    drawAssembledController (g, {26, 65}, partState);

    auto x = 0;

    for (int i = 0; i < (int)std::size (tabs); ++i)
    {
        g.drawImageAt (drawTab (tabs[i], i == litTab ? State::pressed
                                                     : (i == litTab + 1 ? State::hover : State::normal)),
                       x, 482);
        x += tabs[i].width;
    }

    if (litTab == 0)
    {
        for (int i = 0; i < (int)std::size (transfers); ++i)
            g.drawImageAt (drawTransferButton (transfers[i], i == 1 ? State::hover : State::normal), 5,
                           527 + 40 * i);
    }
    else
    {
        g.drawImageAt (drawArrow (false, State::hover), 10, 527);
        g.drawImageAt (drawArrow (true, State::pressed), 1170, 527);
    }

    return image;
}

// The About window with its version label and two notice lines written over the picture.
static juce::Image drawAboutPreview()
{
    auto image = drawAbout();
    juce::Graphics g (image);
    inUnits (g);
    g.setColour (juce::Colours::black);
    g.setFont (dejaVu (15.0f));
    g.drawText (juce::String ("Version: ") + JUCE_APPLICATION_VERSION_STRING,
                juce::Rectangle<float> (0.0f, 133.0f, 484.0f, 15.0f), juce::Justification::centred, false);
    g.drawText ("Copyright Orvane", juce::Rectangle<float> (0.0f, 211.0f, 484.0f, 15.0f),
                juce::Justification::centred, false);
    g.drawText ("Orvane and Marlo are trademarks of Orvane",
                juce::Rectangle<float> (0.0f, 227.0f, 484.0f, 15.0f), juce::Justification::centred, false);
    return image;
}

// The Device Setup window with its frames, captions, a few rows and its buttons' places.
static juce::Image drawDeviceSetupPreview()
{
    auto image = drawDeviceSetupBackground();
    juce::Graphics g (image);
    inUnits (g);
    const auto frame = drawDeviceListFrame();
    g.drawImageAt (frame, 15, 60);
    g.drawImageAt (frame, 15, 228);
    g.setColour (juce::Colours::black);
    g.setFont (dejaVu (15.0f));
    g.drawText ("INPUT", 25, 44, 41, 18, juce::Justification::centredLeft, true);
    g.drawText ("OUTPUT", 23, 216, 57, 11, juce::Justification::centredLeft, true);

    for (int row = 0; row < 3; ++row)
    {
        const juce::Rectangle<float> line (15.0f, 69.0f + 20.0f * (float)row, 327.0f, 20.0f);
        g.setColour (row == 1 ? juce::Colours::white : juce::Colours::transparentBlack);
        g.fillRect (line);
        g.setColour (row == 1 ? juce::Colours::black : juce::Colours::white);
        g.setFont (dejaVu (14.0f));
        g.drawText ("Marlo MIDI " + juce::String (row + 1), line.withTrimmedLeft (5.0f),
                    juce::Justification::centredLeft, true);
    }

    g.setColour (juce::Colour (0xfff5f5f5));
    g.fillRect (16, 381, 72, 32);
    g.fillRect (120, 381, 88, 30);
    g.fillRect (248, 381, 88, 30);
    return image;
}

int main (int argc, char* argv[])
{
    const juce::ScopedJuceInitialiser_GUI juce;

    juce::File output (MARLO_RESOURCES_DIR);
    juce::File icons (MARLO_ICONS_DIR);
    juce::File preview;

    for (int i = 1; i < argc; ++i)
    {
        const juce::String argument (argv[i]);

        if (argument == "--preview" && i + 1 < argc)
            preview = juce::File::getCurrentWorkingDirectory().getChildFile (argv[++i]);
        else if (argument == "--icons" && i + 1 < argc)
            icons = juce::File::getCurrentWorkingDirectory().getChildFile (argv[++i]);
        else
            output = juce::File::getCurrentWorkingDirectory().getChildFile (argument);
    }

    for (const auto& folder : {output, icons})
    {
        if (!folder.createDirectory())
        {
            std::cerr << "cannot create " << folder.getFullPathName() << "\n";
            return 1;
        }
    }

    ArtworkWriter iconWriter (icons);
    writeDesktopIcons (iconWriter);
    ArtworkWriter writer (output);
    writeAll (writer);
    // Painted by the editor itself from the pictures built into this program: after changing any
    // of them, build again and run this once more, so that it is painted from the new ones.
    writer.write ("editor_at_rest", EditorComponent::paintAtRest());

    if (preview != juce::File() && preview.createDirectory())
    {
        ArtworkWriter previews (preview);
        previews.write ("preview_normal", drawPreview (State::normal, 0));
        previews.write ("preview_pressed", drawPreview (State::pressed, 3));
        previews.write ("preview_about", drawAboutPreview());
        previews.write ("preview_device_setup", drawDeviceSetupPreview());

        if (previews.hasFailed())
            return 1;
    }

    return writer.hasFailed() || iconWriter.hasFailed() ? 1 : 0;
}
