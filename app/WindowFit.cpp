#include "app/WindowFit.h"

#include <algorithm>
#include <cmath>

int WindowFit::stepFrom (int percent, int direction)
{
    if (direction > 0)
    {
        const auto larger = std::upper_bound (zoomSteps.begin(), zoomSteps.end(), percent);
        return larger == zoomSteps.end() ? zoomSteps.back() : *larger;
    }

    const auto atLeast = std::lower_bound (zoomSteps.begin(), zoomSteps.end(), percent);
    return atLeast == zoomSteps.begin() ? zoomSteps.front() : *std::prev (atLeast);
}

bool WindowFit::fits (juce::Rectangle<int> userArea, double displayScale, juce::BorderSize<int> frame,
                      juce::Point<int> contentSize, int zoomPercent)
{
    const auto size = shownSize (contentSize, displayScale, zoomPercent);
    return size.x + frame.getLeftAndRight() <= userArea.getWidth() &&
           size.y + frame.getTopAndBottom() <= userArea.getHeight();
}

juce::Point<int> WindowFit::keptInside (juce::Rectangle<int> userArea, juce::BorderSize<int> frame,
                                        juce::Rectangle<int> window)
{
    const auto inside = frame.subtractedFrom (userArea);
    // Right and bottom first, so that where the window is too large its top left stays in the area.
    const auto x =
        juce::jmax (inside.getX(), juce::jmin (window.getX(), inside.getRight() - window.getWidth()));
    const auto y =
        juce::jmax (inside.getY(), juce::jmin (window.getY(), inside.getBottom() - window.getHeight()));
    return {x, y};
}

juce::Point<int> WindowFit::shownSize (juce::Point<int> contentSize, double displayScale, int zoomPercent)
{
    const auto factor = displayScale * zoomPercent / 100.0;
    return {juce::roundToInt (contentSize.x * factor), juce::roundToInt (contentSize.y * factor)};
}

WindowFit::Placement WindowFit::fit (juce::Rectangle<int> userArea, double displayScale,
                                     juce::BorderSize<int> frame, juce::Point<int> contentSize, int cascade)
{
    const auto outerSize = [&] (int zoom)
    {
        return shownSize (contentSize, displayScale, zoom) +
               juce::Point<int> (frame.getLeftAndRight(), frame.getTopAndBottom());
    };
    const auto fits = [&] (int zoom)
    {
        const auto size = outerSize (zoom);
        return size.x <= userArea.getWidth() && size.y <= userArea.getHeight();
    };

    auto zoom = zoomSteps.front();
    for (auto step : zoomSteps)
        if (step <= actualSize && fits (step))
            zoom = step;

    // Each further window one step down and right while the whole of it stays in the area; once
    // one way has no more room, on along the other alone, and round again once neither has.
    const auto step = juce::roundToInt (cascadeStep * displayScale);
    const auto room = juce::Point<int> (userArea.getWidth(), userArea.getHeight()) - outerSize (zoom);
    const auto stepsInto = [step] (int length) { return step > 0 ? juce::jmax (0, length) / step : 0; };
    const auto across = stepsInto (room.x);
    const auto down = stepsInto (room.y);
    const auto index = juce::jmax (0, cascade) % (juce::jmax (across, down) + 1);
    const auto offset = juce::Point<int> (juce::jmin (index, across), juce::jmin (index, down)) * step;

    const auto physical = userArea.getTopLeft() + offset;
    // Rounded up: a window rounded the other way would overlap a panel by a pixel.
    const auto toLogical = [displayScale] (int value)
    { return static_cast<int> (std::ceil (value / displayScale - 1.0e-9)); };

    return {zoom, {toLogical (physical.x), toLogical (physical.y)}};
}
