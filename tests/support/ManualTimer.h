#pragma once

#include "midi/TransferTimer.h"

#include <vector>

/** A transfer's timer that runs only when a test says so: each fire() is one interval gone. */
class ManualTimer final : public TransferTimer
{
public:
    void start (int intervalMs) override
    {
        interval = intervalMs;
        running = true;
    }
    void stop() override { running = false; }
    bool isRunning() const override { return running; }
    int getInterval() const override { return interval; }

    /** The tick the framework's timer gives once the interval has passed; nothing when stopped. */
    void fire()
    {
        if (running && onTick != nullptr)
            onTick();
    }

    /** Fires until the timer stops, and returns the interval waited before each tick. */
    std::vector<int> fireUntilStopped()
    {
        std::vector<int> waits;
        while (running && waits.size() < 100)
        {
            waits.push_back (interval);
            fire();
        }
        return waits;
    }

private:
    int interval = 0;
    bool running = false;
};
