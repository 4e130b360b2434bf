#pragma once

#include "midi/TransferTimer.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

/** Time that passes only when a test or a benchmark moves it, and timers that fire on it in the
    order their moments come, each at its exact moment. */
class SimulatedClock
{
public:
    ~SimulatedClock()
    {
        for (auto* timer : timers)
            timer->clock = nullptr;
    }

    double now() const noexcept { return time; }
    std::function<double()> function()
    {
        return [this] { return time; };
    }

    /** A timer on this clock; it may outlive the clock, and then never fires. */
    std::unique_ptr<TransferTimer> createTimer() { return std::make_unique<Timer> (*this); }

    /** Called after each timer's tick and at the end of each move, e.g. to deliver what a
        simulated device has due. */
    std::function<void()> afterEachStep;

    /** Moves to `target`, firing every timer due on the way. */
    void advanceTo (double target)
    {
        while (auto* next = nextDue (target))
        {
            time = std::max (time, next->due);
            next->due = time + next->interval;
            if (next->onTick != nullptr)
                next->onTick();
            step();
        }
        time = std::max (time, target);
        step();
    }
    void advanceBy (double milliseconds) { advanceTo (time + milliseconds); }

private:
    class Timer final : public TransferTimer
    {
    public:
        explicit Timer (SimulatedClock& owner) : clock (&owner) { owner.timers.push_back (this); }
        ~Timer() override
        {
            if (clock != nullptr)
                clock->timers.erase (std::find (clock->timers.begin(), clock->timers.end(), this));
        }
        void start (int intervalMs) override
        {
            interval = intervalMs;
            due = (clock != nullptr ? clock->time : 0.0) + intervalMs;
            running = true;
        }
        void stop() override { running = false; }
        bool isRunning() const override { return running; }
        int getInterval() const override { return interval; }

        SimulatedClock* clock;
        double due = 0.0;
        int interval = 0;
        bool running = false;
    };

    Timer* nextDue (double target) const
    {
        Timer* next = nullptr;
        for (auto* timer : timers)
            if (timer->running && timer->due <= target && (next == nullptr || timer->due < next->due))
                next = timer;
        return next;
    }

    void step()
    {
        if (afterEachStep != nullptr)
            afterEachStep();
    }

    double time = 0.0;
    std::vector<Timer*> timers;
};
