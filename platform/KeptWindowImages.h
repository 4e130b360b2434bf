#pragma once

#include <juce_events/juce_events.h>

/** Keeps the image every window of the program repaints through, while it exists.

    JUCE 7.0.5 on X11 drops a window's image after three seconds without painting, and when it makes
    the image again it moves the window to where it already is, a step meant for the windows it has
    just made (LinuxComponentPeer::LinuxRepaintManager). The window manager answers the move with a
    configure event, which the framework takes for the window's title bar being dragged: it closes
    whatever menu or list is open over the window, and the move drops the window's fixed size hints.
    A menu that a key or a click opened after a pause of three seconds closed a few milliseconds
    later, and the keys meant for it went to the control holding the keyboard. Flushing a window's
    pending repaints marks its image as used, without painting anything when nothing is pending;
    every window's are flushed each second. */
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
