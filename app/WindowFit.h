#pragma once

#include <array>
#include <juce_graphics/juce_graphics.h>

/** The zoom steps a window can take, and where a new window goes and at which step so that it is
    whole on the screen. Lengths are in the screen's physical pixels unless named otherwise, as the
    window system counts them: a panel or a window frame does not grow with the desktop's scale. */
class WindowFit
{
public:
    /** In percent, smallest first; 100 is the actual size. */
    static constexpr std::array<int, 9> zoomSteps{50, 67, 75, 90, 100, 125, 150, 175, 200};
    static constexpr int actualSize = 100;

    /** The step after `percent` in a direction (+1 larger, -1 smaller), kept within the steps; a
        percent between two steps goes to the nearer of them in that direction. */
    static int stepFrom (int percent, int direction);

    /** Whether the content, scaled by the display's scale and the step, fits the user area with
        its frame around it. */
    static bool fits (juce::Rectangle<int> userArea, double displayScale, juce::BorderSize<int> frame,
                      juce::Point<int> contentSize, int zoomPercent);

    /** Where a window's inside (`window`, frame excluded) goes so that it and its frame lie in the
        user area, moved as little as it can be; a window too large for the area keeps its top
        left corner inside it. Any units, as long as all three share them. */
    static juce::Point<int> keptInside (juce::Rectangle<int> userArea, juce::BorderSize<int> frame,
                                        juce::Rectangle<int> window);

    struct Placement
    {
        int zoomPercent;
        /** Where a new window asks to be put, in the desktop's logical units (its position at zoom
            100): the top left of its frame, as the window system reads the position a window asks
            for before it has a frame (north-west gravity). */
        juce::Point<int> topLeft;

        bool operator== (const Placement& other) const
        {
            return zoomPercent == other.zoomPercent && topLeft == other.topLeft;
        }
    };

    /** The largest step up to the actual size at which the content, scaled by the display's scale
        and the step, fits the user area (the screen less its panels) with its frame around it, or
        the smallest step when none does; the window then lies inside the area, moved down and
        right by `cascade` steps of its own, on in one direction alone once the other has no room,
        and wrapping round before it would leave the area. */
    static Placement fit (juce::Rectangle<int> userArea, double displayScale, juce::BorderSize<int> frame,
                          juce::Point<int> contentSize, int cascade);

    /** The window's size on the screen at a step, frame excluded. */
    static juce::Point<int> shownSize (juce::Point<int> contentSize, double displayScale, int zoomPercent);

    /** Later windows move this much down and right of the one before, in logical units. */
    static constexpr int cascadeStep = 15;
};
