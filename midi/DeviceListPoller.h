#pragma once

#include "midi/TransferTimer.h"

#include <atomic>
#include <functional>
#include <juce_events/juce_events.h>
#include <memory>
#include <optional>

/** Notices devices coming and going while the editor runs. The framework sends no word of it, so
    the input and output lists are read again: at most once a second, only while someone needs
    them, and off the message thread (a list read asks the system's MIDI service, which can take a
    while). A list that differs from the one read before is handed to the message thread.

    Threads: the ticks, the question whether the lists are needed and the hand-over run on the
    message thread; the read runs on a thread of the poller's own, started at the first read. With
    `ownThread` false nothing starts a thread: a test runs the read it asked for with readPending().
*/
class DeviceListPoller final : private juce::AsyncUpdater
{
public:
    static constexpr int intervalMs = 1000;

    struct Lists
    {
        juce::StringArray inputs;
        juce::StringArray outputs;

        bool operator== (const Lists& other) const
        {
            return inputs == other.inputs && outputs == other.outputs;
        }
        bool operator!= (const Lists& other) const { return !operator== (other); }
    };

    /** Reads the lists as they are now; called on the poller's thread (with no thread of its own,
        on the thread that calls readPending()). */
    using ListSource = std::function<Lists()>;

    DeviceListPoller (ListSource source, std::unique_ptr<TransferTimer> timer, bool ownThread = true);
    ~DeviceListPoller() override;

    /** Asked on the message thread at each tick; without it the lists are never read. */
    std::function<bool()> isNeeded;
    /** Given each read that differs from the one before (the first read always); message thread. */
    std::function<void (const Lists&)> onChanged;

    /** Ticks once a second from now on; each tick that finds the lists needed and no read under way
        asks for one. */
    void start();

    /** Runs the read a tick asked for, on the calling thread; false when none was asked for. */
    bool readPending();
    /** Hands a changed list over now instead of when the message loop comes to it. */
    void deliverPending() { handleUpdateNowIfNeeded(); }

    int getReadCount() const noexcept { return readCount.load(); }

private:
    class ReadThread;

    void tick();
    void read();
    void handleAsyncUpdate() override;

    ListSource source;
    std::unique_ptr<TransferTimer> timer;
    const bool ownThread;
    std::unique_ptr<ReadThread> thread;
    std::atomic<bool> readAsked{false};
    std::atomic<int> readCount{0};

    // Between the read and the message thread; the reading thread alone writes lastRead.
    juce::CriticalSection handOverLock;
    std::optional<Lists> lastRead;
    std::optional<Lists> changed;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceListPoller)
};
