#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editor/CustomLook.h"

namespace
{
/** Paints a component (with its children) under the look onto a white image. */
juce::Image render (juce::Component& component, CustomLook& look)
{
    component.setLookAndFeel (&look);
    juce::Image image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true);
    {
        juce::Graphics g (image);
        g.fillAll (juce::Colours::white);
        component.paintEntireComponent (g, true);
    }
    component.setLookAndFeel (nullptr);
    return image;
}

juce::Colour opaque (juce::Colour colour)
{
    return colour.withAlpha (1.0f);
}
} // namespace

TEST (CustomLook, ButtonsIgnoreTheirOwnColourAndShowTheirState)
{
    CustomLook look;
    juce::TextButton button;
    button.setSize (60, 24);
    button.setColour (juce::TextButton::buttonColourId, juce::Colours::red);

    const auto shade = [&] (bool over, bool down)
    {
        juce::Image image (juce::Image::ARGB, 60, 24, true);
        juce::Graphics g (image);
        look.drawButtonBackground (g, button, juce::Colours::red, over, down);
        return std::make_pair (image.getPixelAt (30, 12), image.getPixelAt (30, 0));
    };

    EXPECT_EQ (shade (false, false).first, juce::Colour (0xfff5f5f5));
    EXPECT_EQ (shade (true, false).first, juce::Colour (0xffffffff));
    EXPECT_EQ (shade (true, true).first, juce::Colour (0xffd3d3d3));
    EXPECT_LT (shade (false, false).second.getBrightness(), 0.6f) << "black outline on the top edge";
}

TEST (CustomLook, NumberBoxesHaveNoFrameEvenWithAnOutlineColour)
{
    CustomLook look;
    auto box = createNumberBoxParameterValue (0, 127, 0, 0, "Knob 1 CC");
    box->setSize (80, 20);
    ASSERT_EQ (box->findColour (juce::TextEditor::outlineColourId), juce::Colour (0xff00ffff));

    const auto image = render (*box, look);
    for (const auto& point : {juce::Point<int> (0, 10), juce::Point<int> (79, 10), juce::Point<int> (40, 0),
                              juce::Point<int> (40, 19)})
        EXPECT_EQ (opaque (image.getPixelAt (point.x, point.y)), juce::Colour (0xffffffff))
            << point.toString();
}

TEST (CustomLook, ComboBoxIsWhiteWithASmallArrowAtTheRight)
{
    CustomLook look;
    auto box = createComboBoxParameterValue ({"CC", "Aftertouch"}, "Knob 1 Mode");
    box->setSize (100, 20);
    const auto image = render (*box, look);

    EXPECT_EQ (image.getPixelAt (90, 11), juce::Colour (0xff117fc6)) << "inside the arrow";
    EXPECT_EQ (image.getPixelAt (80, 11), juce::Colour (0xffffffff)) << "left of the arrow";
    EXPECT_EQ (image.getPixelAt (90, 16), juce::Colour (0xffffffff)) << "below the arrow's tip";
}

TEST (CustomLook, PopupMenusAreBlueWithTheHighlightedItemInverted)
{
    CustomLook look;
    juce::Image image (juce::Image::ARGB, 100, 40, true);
    juce::Graphics g (image);
    look.drawPopupMenuBackground (g, 100, 40);
    EXPECT_EQ (image.getPixelAt (50, 20), juce::Colour (0xff117fc6));

    look.drawPopupMenuItem (g, {0, 0, 100, 20}, false, true, true, false, false, "", "", nullptr, nullptr);
    EXPECT_EQ (image.getPixelAt (50, 10), juce::Colour (0xffffffff));

    look.drawPopupMenuItem (g, {0, 20, 100, 20}, true, false, false, true, true, "", "", nullptr, nullptr);
    EXPECT_EQ (image.getPixelAt (50, 30), juce::Colour (0xff117fc6)) << "a separator is an empty blue row";
}

TEST (CustomLook, DisabledLabelsDrawTheirFrameAtHalfAlpha)
{
    CustomLook look;
    juce::Label label;
    label.setSize (60, 20);
    label.setColour (juce::Label::outlineColourId, juce::Colours::red);

    auto image = render (label, look);
    EXPECT_EQ (image.getPixelAt (0, 10), juce::Colour (0xffff0000));

    label.setEnabled (false);
    image = render (label, look);
    const auto frame = image.getPixelAt (0, 10);
    EXPECT_NEAR (frame.getRed(), 255, 2);
    EXPECT_NEAR (frame.getGreen(), 128, 2);
}

TEST (CustomLook, FocusRingsTakeAColourThatStandsOutFromWhatLiesBehind)
{
    EXPECT_NEAR (CustomLook::contrastRatio (juce::Colours::black, juce::Colours::white), 21.0, 0.01);
    EXPECT_NEAR (CustomLook::contrastRatio (juce::Colour (0xff777777), juce::Colour (0xff777777)), 1.0,
                 0.001);
    // The accent on white, as the guidelines' formula gives it.
    EXPECT_NEAR (CustomLook::contrastRatio (juce::Colour (CustomLook::accentColour), juce::Colours::white),
                 4.31, 0.01);

    // The fills a ring is drawn on: boxes and tabs, the tabs under the mouse, the transfer
    // buttons under the mouse, a pressed button, the lit tab.
    for (const auto behind : {0xffffffffu, 0xfff5f5f5u, 0xffe2e6eau, 0xffdde2e7u, 0xffd3d3d3u, 0xff117fc6u,
                              0xff0b4f80u, 0xff000000u})
        EXPECT_GE (CustomLook::contrastRatio (CustomLook::focusRingColourOn (juce::Colour (behind)),
                                              juce::Colour (behind)),
                   CustomLook::ringContrast)
            << juce::String::toHexString (static_cast<int> (behind));

    EXPECT_EQ (CustomLook::focusRingColourOn (juce::Colours::white), juce::Colour (CustomLook::accentColour));
    EXPECT_EQ (CustomLook::focusRingColourOn (juce::Colour (CustomLook::accentColour)), juce::Colours::white);
}

TEST (CustomLook, AMenuItemAtItsIdealWidthShowsItsWholeName)
{
    // A combo box's list asks for rows as high as the box, smaller than the font the name is drawn in.
    CustomLook look;
    for (const auto rowHeight : {14, 18, 24})
    {
        int width = 0, height = 0;
        look.getIdealPopupMenuItemSize ("Program Change", false, rowHeight, width, height);
        const auto drawn = [&] (int areaWidth)
        {
            juce::Image image (juce::Image::ARGB, 400, height, true);
            juce::Graphics g (image);
            look.drawPopupMenuBackground (g, 400, height);
            look.drawPopupMenuItem (g, {0, 0, areaWidth, height}, false, true, false, true, false,
                                    "Program Change", "", nullptr, nullptr);
            return image;
        };
        const auto atIdeal = drawn (width);
        const auto unbounded = drawn (400);
        for (int x = 0; x < 400; ++x)
            for (int y = 0; y < height; ++y)
                ASSERT_EQ (atIdeal.getPixelAt (x, y), unbounded.getPixelAt (x, y))
                    << "rows of " << rowHeight << ": the name is cut at x " << x;
    }
}

TEST (CustomLook, ASeparatorUnderThePointerStaysAGap)
{
    CustomLook look;
    juce::Image image (juce::Image::ARGB, 200, 10, true);
    juce::Graphics g (image);
    look.drawPopupMenuItem (g, {0, 0, 200, 10}, true, true, true, false, false, "", "", nullptr, nullptr);
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 10; ++y)
            ASSERT_EQ (image.getPixelAt (x, y).getAlpha(), 0) << "painted at " << x << ", " << y;
}
