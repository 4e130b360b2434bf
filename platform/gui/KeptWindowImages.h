#pragma once

#include <juce_events/juce_events.h>

/** Keeps the image every window of the program repaints through, while it exists, where the
    framework would otherwise drop an unused image and, making it again, disturb the window (its
    open menu closes). Nothing where the framework's windows need no such care. */
class KeptWindowImages final : private juce::Timer
{
public:
    KeptWindowImages();
    ~KeptWindowImages() override;

    /** Marks the image of every window on the desktop as used now. */
    static void keepAll();

private:
    void timerCallback() override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KeptWindowImages)
};
