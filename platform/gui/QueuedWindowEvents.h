#pragma once

#include <juce_events/juce_events.h>

/** Hands the framework's window event handler the events that the window system's library has
    already read, while it exists, where the framework would leave them waiting for the next event
    (what another window uncovered would stay unpainted). Nothing where the framework's windows
    need no such care. */
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
