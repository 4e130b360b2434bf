#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "MarloArtwork.h"

namespace
{
// Rendered twice from the same shapes, an edge pixel may round differently by a few levels; a
// picture from another drawing, size or place differs by far more.
constexpr int edgeTolerance = 6;

/** The SVG's view box scaled to a square of the size. The framework draws a drawing at the
    bounds of its shapes, so those bounds are placed where the view box puts them. */
juce::Image renderAt (const juce::DrawableComposite& drawing, int size)
{
    juce::Image image (juce::Image::ARGB, size, size, true);
    juce::Graphics g (image);
    const auto viewBox = drawing.getContentArea();
    const auto toImage = juce::AffineTransform::translation (-viewBox.getX(), -viewBox.getY())
                             .scaled ((float)size / viewBox.getWidth(), (float)size / viewBox.getHeight());
    drawing.drawWithin (g, drawing.getDrawableBounds().transformedBy (toImage),
                        juce::RectanglePlacement::stretchToFit, 1.0f);
    return image;
}

int channelDifference (juce::Colour a, juce::Colour b)
{
    return juce::jmax (std::abs (a.getRed() - b.getRed()), std::abs (a.getGreen() - b.getGreen()),
                       std::abs (a.getBlue() - b.getBlue()), std::abs (a.getAlpha() - b.getAlpha()));
}

/** How many pixels differ by more than the tolerance. */
int differingPixels (const juce::Image& a, const juce::Image& b)
{
    const juce::Image::BitmapData first (a, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData second (b, juce::Image::BitmapData::readOnly);
    int count = 0;

    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            count +=
                channelDifference (first.getPixelColour (x, y), second.getPixelColour (x, y)) > edgeTolerance;

    return count;
}

juce::Image embeddedIcon (const char* resourceName)
{
    int size = 0;
    const auto* data = MarloArt::getNamedResource (resourceName, size);
    return data == nullptr ? juce::Image()
                           : juce::ImageFileFormat::loadFrom (data, static_cast<size_t> (size));
}
} // namespace

// The desktop picks whichever icon fits: every installed size and the scalable icon must be one
// drawing, so the scalable one, rendered at each size, gives each picture.
TEST (AppIconTest, EverySizeIsTheScalableIconAtThatSize)
{
    const juce::File folder (MARLO_ICONS_DIR);
    const auto drawing = juce::Drawable::createFromSVGFile (folder.getChildFile ("app_icon.svg"));
    const auto* scalable = dynamic_cast<const juce::DrawableComposite*> (drawing.get());
    ASSERT_NE (scalable, nullptr);

    const std::pair<int, juce::Image> pictures[] = {
        {48, juce::ImageFileFormat::loadFrom (folder.getChildFile ("app_icon_48.png"))},
        {64, juce::ImageFileFormat::loadFrom (folder.getChildFile ("app_icon_64.png"))},
        {128, juce::ImageFileFormat::loadFrom (folder.getChildFile ("app_icon_128.png"))},
        {64, embeddedIcon ("window_icon_png")},
        {256, embeddedIcon ("app_icon_png")}};

    for (const auto& [size, picture] : pictures)
    {
        SCOPED_TRACE (size);
        ASSERT_EQ (picture.getBounds(), juce::Rectangle<int> (size, size));
        EXPECT_EQ (differingPixels (renderAt (*scalable, size), picture), 0);
    }
}
