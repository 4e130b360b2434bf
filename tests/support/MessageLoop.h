#pragma once

#include <juce_events/juce_events.h>

/** Runs the message loop until the condition holds or the time is up; returns the condition. */
template <typename Condition> bool runMessageLoopUntil (Condition condition, int timeoutMs = 3000)
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
