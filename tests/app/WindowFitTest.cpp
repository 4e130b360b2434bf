#include <gtest/gtest.h>

#include "app/WindowFit.h"

#include <set>

namespace
{
// A document window's content with its menu bar, and a frame as a window manager draws one.
const juce::Point<int> content (1200, 724);
const juce::BorderSize<int> frame (23, 1, 1, 1);

struct Screen
{
    const char* name;
    juce::Rectangle<int> userArea;
    double scale;
    int zoom;
    juce::Point<int> topLeft;
};

const Screen screens[] = {
    {"1024x600 netbook", {0, 0, 1024, 600}, 1.0, 75, {0, 0}},
    {"1280x720", {0, 0, 1280, 720}, 1.0, 90, {0, 0}},
    {"1366x768, panel below", {0, 0, 1366, 736}, 1.0, 90, {0, 0}},
    {"1366x768, panel above", {0, 32, 1366, 736}, 1.0, 90, {0, 32}},
    {"1366x768, no panel", {0, 0, 1366, 768}, 1.0, 100, {0, 0}},
    {"1920x1080", {0, 0, 1920, 1080}, 1.0, 100, {0, 0}},
    // Twice the pixels per unit: 2400 x 1448 pixels of content fit.
    {"3840x2160 at scale 2", {0, 0, 3840, 2160}, 2.0, 100, {0, 0}},
    // A panel of an odd height at scale 2: the window starts below it, not half a pixel over it.
    {"3840x2160 at scale 2, panel above", {0, 37, 3840, 2123}, 2.0, 100, {0, 19}},
    // The scaled desktop where the window used to be 2400 pixels wide on a 1600-pixel screen.
    {"1600x1000 at scale 2", {0, 0, 1600, 1000}, 2.0, 50, {0, 0}},
    // Nothing fits: the smallest step, still at the area's corner.
    {"640x400", {0, 0, 640, 400}, 1.0, 50, {0, 0}},
};

/** The window with its frame, in the screen's pixels, as placed. */
juce::Rectangle<int> outerBounds (const Screen& screen, const WindowFit::Placement& placement)
{
    const auto size = WindowFit::shownSize (content, screen.scale, placement.zoomPercent);
    const auto topLeft = (placement.topLeft.toDouble() * screen.scale).roundToInt();
    return {topLeft.x, topLeft.y, size.x + frame.getLeftAndRight(), size.y + frame.getTopAndBottom()};
}
} // namespace

TEST (WindowFitTest, AZoomedWindowFitsOnlyWithItsFrameAndMovesBackInsideTheArea)
{
    const juce::Rectangle<int> laptop (0, 0, 1366, 768);
    EXPECT_TRUE (WindowFit::fits (laptop, 1.0, frame, content, 100));
    EXPECT_FALSE (WindowFit::fits (laptop, 1.0, frame, content, 125));
    // 724 + 24 rows of frame fill 748 exactly; one more row of panel and it does not fit.
    EXPECT_TRUE (WindowFit::fits ({0, 0, 1202, 748}, 1.0, frame, content, 100));
    EXPECT_FALSE (WindowFit::fits ({0, 0, 1202, 747}, 1.0, frame, content, 100));
    EXPECT_FALSE (WindowFit::fits ({0, 0, 1201, 748}, 1.0, frame, content, 100));
    EXPECT_FALSE (WindowFit::fits ({0, 0, 1600, 1000}, 2.0, frame, content, 67));

    const juce::Rectangle<int> area (0, 30, 1920, 1050);
    // Inside already: it stays; past the right and bottom edges: back by as much as it reaches over.
    EXPECT_EQ (WindowFit::keptInside (area, frame, {100, 100, 1500, 905}), juce::Point<int> (100, 100));
    EXPECT_EQ (WindowFit::keptInside (area, frame, {600, 400, 1500, 905}), juce::Point<int> (419, 174));
    // Above the area (behind a panel) and left of it.
    EXPECT_EQ (WindowFit::keptInside (area, frame, {-50, 0, 800, 600}), juce::Point<int> (1, 53));
    // Too large for the area: the top left stays inside, so the title bar can still be reached.
    EXPECT_EQ (WindowFit::keptInside (area, frame, {500, 500, 2400, 1448}), juce::Point<int> (1, 53));
}

TEST (WindowFitTest, ANewWindowTakesTheLargestStepUpToActualSizeThatFitsTheUserArea)
{
    for (const auto& screen : screens)
    {
        SCOPED_TRACE (screen.name);
        const auto placement = WindowFit::fit (screen.userArea, screen.scale, frame, content, 0);
        EXPECT_EQ (placement.zoomPercent, screen.zoom);
        EXPECT_EQ (placement.topLeft, screen.topLeft);

        if (screen.zoom > WindowFit::zoomSteps.front())
        {
            EXPECT_TRUE (screen.userArea.contains (outerBounds (screen, placement)));
            // The next step up would not have fitted (or would be larger than actual size).
            const auto larger = WindowFit::stepFrom (screen.zoom, 1);
            const auto size = WindowFit::shownSize (content, screen.scale, larger);
            EXPECT_TRUE (larger > WindowFit::actualSize || size.x + 2 > screen.userArea.getWidth() ||
                         size.y + 24 > screen.userArea.getHeight());
        }
    }
}

TEST (WindowFitTest, LaterWindowsCascadeAndWrapRoundInsideTheUserArea)
{
    const auto& wide = screens[5];
    EXPECT_EQ (WindowFit::fit (wide.userArea, 1.0, frame, content, 2).topLeft, juce::Point<int> (30, 30));

    // 20 rows to spare at 1366 x 768: the second window moves down 15, the third on to the right
    // alone, and every window up to the width's room lies elsewhere.
    const auto& laptop = screens[4];
    EXPECT_EQ (WindowFit::fit (laptop.userArea, 1.0, frame, content, 1).topLeft, juce::Point<int> (15, 15));
    EXPECT_EQ (WindowFit::fit (laptop.userArea, 1.0, frame, content, 2).topLeft, juce::Point<int> (30, 15));
    std::set<std::pair<int, int>> places;
    for (int cascade = 0; cascade < 10; ++cascade)
    {
        const auto topLeft = WindowFit::fit (laptop.userArea, 1.0, frame, content, cascade).topLeft;
        places.insert ({topLeft.x, topLeft.y});
    }
    EXPECT_EQ (places.size(), 10u);

    for (const auto& screen : screens)
    {
        if (screen.zoom == WindowFit::zoomSteps.front())
            continue;

        for (int cascade = 0; cascade < 40; ++cascade)
        {
            SCOPED_TRACE (juce::String (screen.name) + ", window " + juce::String (cascade + 1));
            const auto placement = WindowFit::fit (screen.userArea, screen.scale, frame, content, cascade);
            EXPECT_EQ (placement.zoomPercent, screen.zoom);
            EXPECT_TRUE (screen.userArea.contains (outerBounds (screen, placement)));
        }
    }
}

TEST (WindowFitTest, ZoomStepsStopAtTheirEndsAndGoFromBetweenStepsToTheNearerOne)
{
    EXPECT_EQ (WindowFit::stepFrom (100, 1), 125);
    EXPECT_EQ (WindowFit::stepFrom (100, -1), 90);
    EXPECT_EQ (WindowFit::stepFrom (67, -1), 50);
    EXPECT_EQ (WindowFit::stepFrom (200, 1), 200);
    EXPECT_EQ (WindowFit::stepFrom (50, -1), 50);
    EXPECT_EQ (WindowFit::stepFrom (80, 1), 90);
    EXPECT_EQ (WindowFit::stepFrom (80, -1), 75);

    // Every step is reached from actual size, up and down.
    std::vector<int> reached{WindowFit::actualSize};
    for (auto zoom = WindowFit::actualSize; zoom != WindowFit::zoomSteps.back();)
        reached.push_back (zoom = WindowFit::stepFrom (zoom, 1));
    for (auto zoom = WindowFit::actualSize; zoom != WindowFit::zoomSteps.front();)
        reached.insert (reached.begin(), zoom = WindowFit::stepFrom (zoom, -1));
    EXPECT_EQ (reached, std::vector<int> (WindowFit::zoomSteps.begin(), WindowFit::zoomSteps.end()));
}
