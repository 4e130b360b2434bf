#include "midi/DeviceListPoller.h"

/** Waits for the poller to ask, then reads; one read at a time. */
class DeviceListPoller::ReadThread final : public juce::Thread
{
public:
    explicit ReadThread (DeviceListPoller& p) : juce::Thread ("Device lists"), poller (p) {}
    ~ReadThread() override
    {
        signalThreadShouldExit();
        asked.signal();
        // A read the system is slow to answer is waited for: it reaches into the poller.
        stopThread (-1);
    }

    void ask() { asked.signal(); }

    void run() override
    {
        while (!threadShouldExit())
        {
            asked.wait (-1);
            if (threadShouldExit())
                return;
            poller.readPending();
        }
    }

private:
    DeviceListPoller& poller;
    juce::WaitableEvent asked;
};

DeviceListPoller::DeviceListPoller (ListSource listSource, std::unique_ptr<TransferTimer> tickTimer,
                                    bool startsThread)
    : source (std::move (listSource)), timer (std::move (tickTimer)), ownThread (startsThread)
{
    jassert (source != nullptr && timer != nullptr);
    timer->onTick = [this] { tick(); };
}

DeviceListPoller::~DeviceListPoller()
{
    timer->stop();
    thread.reset();
    cancelPendingUpdate();
}

void DeviceListPoller::start()
{
    timer->start (intervalMs);
}

void DeviceListPoller::tick()
{
    // A read still under way when the next tick comes (a slow service) is not doubled: reads
    // start at least a second apart.
    if (readAsked.load() || isNeeded == nullptr || !isNeeded())
        return;

    readAsked = true;
    if (!ownThread)
        return;
    if (thread == nullptr)
    {
        thread = std::make_unique<ReadThread> (*this);
        thread->startThread();
    }
    thread->ask();
}

bool DeviceListPoller::readPending()
{
    if (!readAsked.load())
        return false;
    read();
    readAsked = false;
    return true;
}

void DeviceListPoller::read()
{
    auto lists = source();
    ++readCount;
    {
        const juce::ScopedLock lock (handOverLock);
        if (lastRead.has_value() && *lastRead == lists)
            return;
        lastRead = lists;
        changed = std::move (lists);
    }
    triggerAsyncUpdate();
}

void DeviceListPoller::handleAsyncUpdate()
{
    std::optional<Lists> lists;
    {
        const juce::ScopedLock lock (handOverLock);
        lists.swap (changed);
    }
    if (lists.has_value() && onChanged != nullptr)
        onChanged (*lists);
}
