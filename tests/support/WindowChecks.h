#pragma once

#include "support/MessageLoop.h"

#include "editor/CustomLook.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>
#include <map>

/** Makes a top-level window the active one and waits until the window system agrees. JUCE polls
    for the active window up to 1.7 s apart, so on a loaded machine 2 s was too short a wait. */
inline bool activate (juce::TopLevelWindow& window)
{
    // The window manager sometimes drops a request that comes right after another window went
    // away; it is asked again rather than waited on.
    for (int attempt = 0; attempt < 8; ++attempt)
    {
        window.toFront (true);

        if (runMessageLoopUntil ([&window] { return window.isActiveWindow(); }, 2500))
            return true;
    }

    return false;
}

/** Minimising needs a window manager: without one the window system never reports the change. */
inline bool windowManagerIsRunning()
{
    juce::ChildProcess xprop;
    return xprop.start ("xprop -root _NET_SUPPORTING_WM_CHECK") &&
           xprop.readAllProcessOutput().contains ("window id");
}

/** The ring a focused control shows, found as the colour that most pixels near its edge took
    when it got the focus, and the least contrast of those pixels against what they showed before. */
struct Ring
{
    juce::Colour colour;
    int pixels = 0;
    double leastContrast = 0.0;
};

inline Ring ringBetween (const juce::Image& without, const juce::Image& with, juce::Rectangle<int> control)
{
    // The edge band: rings lie a few pixels inside a control's edge.
    const auto inside = control.reduced (6);
    std::map<juce::uint32, int> counts;
    for (int y = 0; y < with.getHeight(); ++y)
        for (int x = 0; x < with.getWidth(); ++x)
            if (!inside.contains (x, y) && with.getPixelAt (x, y) != without.getPixelAt (x, y))
                ++counts[with.getPixelAt (x, y).getARGB()];

    if (counts.empty())
        return {};

    const auto most = std::max_element (counts.begin(), counts.end(),
                                        [] (const auto& a, const auto& b) { return a.second < b.second; });
    Ring ring{juce::Colour (most->first), most->second, 21.0};
    for (int y = 0; y < with.getHeight(); ++y)
        for (int x = 0; x < with.getWidth(); ++x)
            if (!inside.contains (x, y) && with.getPixelAt (x, y) == ring.colour &&
                without.getPixelAt (x, y) != ring.colour)
                ring.leastContrast = std::min (
                    ring.leastContrast, CustomLook::contrastRatio (ring.colour, without.getPixelAt (x, y)));
    return ring;
}

/** Gives the control the focus in its window, which must be the active one, and expects the ring
    it then shows to go all the way round and to stand out from what lay there before. */
inline void expectRingStandsOut (juce::Component& root, juce::Component& control,
                                 const juce::String& where = {})
{
    const auto bounds = root.getLocalArea (&control, control.getLocalBounds());
    const auto area = bounds.expanded (4).getIntersection (root.getLocalBounds());
    juce::Component::unfocusAllComponents();
    const auto without = root.createComponentSnapshot (area, true);
    control.grabKeyboardFocus();
    ASSERT_TRUE (control.hasKeyboardFocus (false)) << control.getName() << where;
    const auto with = root.createComponentSnapshot (area, true);

    const auto ring = ringBetween (without, with, bounds - area.getPosition());
    const auto name = control.getName() + where;
    // At least one pixel for each pixel of the control's edge.
    EXPECT_GE (ring.pixels, 2 * (bounds.getWidth() + bounds.getHeight())) << name;
    EXPECT_GE (ring.leastContrast, CustomLook::ringContrast) << name << ", ring " << ring.colour.toString();
}
