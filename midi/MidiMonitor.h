#pragma once

#include "midi/MidiManager.h"
#include "midi/MonitorRecord.h"
#include "midi/TransferTimer.h"

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

/** Watches what goes in and out of the MIDI manager, for a monitor to show, without ever making
    the MIDI thread wait: each received message becomes a fixed-size record in a lock-free FIFO,
    which the message thread drains on a timer. A full FIFO drops the message and counts it.

    The editor's own sends are recorded the same way in a second FIFO on the message thread, and
    the two are merged in the order the messages happened. The last `keptLimit` records stay
    available after they were drained.

    A MIDI manager has one monitor at a time: it takes the manager's onMessageSent.
    Threads: the MIDI thread only records; everything else runs on the message thread.
*/
class MidiMonitor final : private MidiManager::MidiManagerListener
{
public:
    static constexpr int defaultCapacity = 4096;
    static constexpr int defaultKeptLimit = 5000;
    static constexpr int drainIntervalMs = 20;

    /** Starts watching at once; the MIDI manager must outlive the monitor. */
    MidiMonitor (MidiManager& midiManager, std::unique_ptr<TransferTimer> drainTimer,
                 int capacity = defaultCapacity, int keptLimit = defaultKeptLimit,
                 std::function<double()> clockMs = &juce::Time::getMillisecondCounterHiRes);
    ~MidiMonitor() override;

    /** Each record drained, oldest first; message thread. */
    std::function<void (const MonitorRecord&)> onRecord;

    /** Takes everything the FIFOs hold now; the timer calls it, tests may too. */
    void drain();

    /** Whether one more received message would fit: a player that waits for this loses nothing. */
    bool hasRoomForInput() const noexcept;
    /** The messages dropped because the FIFO was full, since the start or the last clear. */
    juce::int64 getDroppedCount() const noexcept { return dropped.load(); }
    /** The last records drained, oldest first, at most keptLimit. */
    const std::deque<MonitorRecord>& getKept() const noexcept { return kept; }
    void clear();

private:
    /** One producer's records: a single-producer, single-consumer FIFO over fixed slots. */
    class Lane
    {
    public:
        explicit Lane (int capacity);
        bool push (const MonitorRecord& record) noexcept;
        void popAll (std::vector<MonitorRecord>& into);
        bool hasRoom() const noexcept { return fifo.getFreeSpace() > 0; }

    private:
        juce::AbstractFifo fifo;
        std::vector<MonitorRecord> slots;
    };

    void midiMessageReceived (const juce::MidiMessage& message) override;
    void record (Lane& lane, const juce::MidiMessage& message, MonitorRecord::Direction direction) noexcept;

    MidiManager& midiManager;
    std::unique_ptr<TransferTimer> timer;
    const std::function<double()> clock;
    const size_t keptLimit;
    Lane received;
    Lane sent;
    std::atomic<juce::uint64> nextSequence{0};
    std::atomic<juce::int64> dropped{0};
    std::deque<MonitorRecord> kept;
    std::vector<MonitorRecord> drained;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiMonitor)
};
