#pragma once

#include <functional>
#include <memory>

/** The timer a preset transfer schedules its steps on: the framework's message-thread timer in
    the program, one driven by hand in tests, so that the schedule is checked without waiting.

    Message thread only.
*/
class TransferTimer
{
public:
    virtual ~TransferTimer() = default;

    /** Calls onTick every `intervalMs` until stopped; starting a running timer restarts it with
        the new interval. */
    virtual void start (int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    /** The interval it was last started with. */
    virtual int getInterval() const = 0;

    std::function<void()> onTick;

    /** The framework's timer. */
    static std::unique_ptr<TransferTimer> createSystemTimer();
};
