#include "AppIconArtwork.h"

// The application icon as filled shapes on a square of iconDesignSize units, so that one drawing
// gives the pictures at every size the desktop asks for and the scalable one.
struct IconShape
{
    juce::Path path;
    juce::FillType fill;
};

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

juce::Image drawAppIcon (int size)
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

juce::String drawAppIconSvg()
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
