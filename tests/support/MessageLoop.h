#pragma once

#include <juce_events/juce_events.h>

/** Runs the message loop until the condition holds or the time is up; returns the condition.
    The bound is generous: the window manager and the X server answer in their own time, and on a
    loaded machine that takes seconds. A condition that holds ends the wait at once. */
template <typename Condition> bool runMessageLoopUntil (Condition condition, int timeoutMs = 10000)
{
    const auto end = juce::Time::getMillisecondCounterHiRes() + timeoutMs;
    while (!condition())
    {
        if (juce::Time::getMillisecondCounterHiRes() > end)
            return false;
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    }
    return true;
}

/** Lets queued messages (async alerts, action messages, hand-overs) be delivered. */
inline void runMessageLoopFor (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}
