#pragma once

#include <juce_events/juce_events.h>

/** Hands the framework's X11 event handler the window events that Xlib already holds, while it
    exists.

    JUCE 7.0.5 runs that handler from its message loop only when the X connection's socket can be
    read (juce_linux_Messaging.cpp). Xlib, while it waits for the reply to a request, reads every
    event that came before the reply into a queue of its own: XSync when the framework destroys a
    window, XGetWindowProperty when it asks whether a window it has just moved is minimised,
    XGetWindowAttributes before it moves the keyboard. With nothing left on the socket, those events
    wait until the next one arrives, such as a pointer motion. The expose events of a document that
    the MIDI Monitor or Device Setup uncovered while the window manager put them in their place
    waited that way, leaving that part of the document white. The queue is looked at every frame,
    which asks nothing of the server. */
class QueuedWindowEvents final : private juce::Timer
{
public:
    QueuedWindowEvents();
    ~QueuedWindowEvents() override;

    /** Dispatches the events Xlib holds now, through the framework's own handler; nothing without a
        display or without such events. */
    static void dispatch();

private:
    void timerCallback() override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QueuedWindowEvents)
};
