#include "ArtworkStyle.h"

juce::Font dejaVu (float height, bool bold)
{
    return juce::Font ("DejaVu Sans", height, bold ? juce::Font::bold : juce::Font::plain);
}

void drawSpacedText (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area, float height,
                     float kerning, juce::Justification justification)
{
    auto font = dejaVu (height, true);
    font.setExtraKerningFactor (kerning);
    g.setFont (font);
    g.drawText (text, area, justification, false);
}

juce::Path emblemPath (juce::Point<float> centre, float radius)
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

void drawEmblem (juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour)
{
    g.setColour (colour);
    g.fillPath (emblemPath (centre, radius));
}

float drawLogo (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour emblem, juce::Colour word)
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

void fillBrushed (juce::Graphics& g, juce::Rectangle<int> area, juce::Colour base, float depth, int seed)
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

static float pixelScale = 1.0f;

void setPixelScale (float scale)
{
    pixelScale = scale;
}

juce::Image newImage (int width, int height)
{
    return juce::Image (juce::Image::ARGB, juce::roundToInt ((float)width * pixelScale),
                        juce::roundToInt ((float)height * pixelScale), true);
}

void inUnits (juce::Graphics& g)
{
    g.addTransform (juce::AffineTransform::scale (pixelScale));
}

juce::Rectangle<int> unitBounds (const juce::Image& image)
{
    return {juce::roundToInt ((float)image.getWidth() / pixelScale),
            juce::roundToInt ((float)image.getHeight() / pixelScale)};
}

juce::Rectangle<float> placeInside (juce::Rectangle<int> bounds, int width, int height)
{
    return juce::RectanglePlacement (juce::RectanglePlacement::centred)
        .appliedTo (juce::Rectangle<float> ((float)width, (float)height), bounds.toFloat());
}
