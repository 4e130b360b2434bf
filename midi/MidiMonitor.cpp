#include "midi/MidiMonitor.h"

#include <algorithm>

MidiMonitor::Lane::Lane (int capacity) : fifo (capacity + 1), slots (static_cast<size_t> (capacity + 1))
{
    // The framework's FIFO keeps one slot free to tell full from empty.
}

bool MidiMonitor::Lane::push (const MonitorRecord& record) noexcept
{
    const auto scope = fifo.write (1);
    if (scope.blockSize1 + scope.blockSize2 == 0)
        return false;
    slots[static_cast<size_t> (scope.blockSize1 > 0 ? scope.startIndex1 : scope.startIndex2)] = record;
    return true;
}

void MidiMonitor::Lane::popAll (std::vector<MonitorRecord>& into)
{
    const auto scope = fifo.read (fifo.getNumReady());
    scope.forEach ([&] (int index) { into.push_back (slots[static_cast<size_t> (index)]); });
}

MidiMonitor::MidiMonitor (MidiManager& manager, std::unique_ptr<TransferTimer> drainTimer, int capacity,
                          int keptRecords, std::function<double()> clockMs)
    : midiManager (manager), timer (std::move (drainTimer)), clock (std::move (clockMs)),
      keptLimit (static_cast<size_t> (keptRecords)), received (capacity), sent (capacity)
{
    jassert (timer != nullptr && capacity > 0);
    drained.reserve (static_cast<size_t> (2 * capacity));
    timer->onTick = [this] { drain(); };
    midiManager.onMessageSent = [this] (const juce::MidiMessage& message)
    { record (sent, message, MonitorRecord::Direction::out); };
    midiManager.addListener (this);
    timer->start (drainIntervalMs);
}

MidiMonitor::~MidiMonitor()
{
    midiManager.removeListener (this);
    midiManager.onMessageSent = nullptr;
    timer->stop();
}

void MidiMonitor::midiMessageReceived (const juce::MidiMessage& message)
{
    record (received, message, MonitorRecord::Direction::in);
}

void MidiMonitor::record (Lane& lane, const juce::MidiMessage& message,
                          MonitorRecord::Direction direction) noexcept
{
    const auto sequence = nextSequence.fetch_add (1);
    if (!lane.push (MonitorRecord::of (message, direction, sequence, clock())))
        ++dropped;
}

bool MidiMonitor::hasRoomForInput() const noexcept
{
    return received.hasRoom();
}

void MidiMonitor::drain()
{
    drained.clear();
    received.popAll (drained);
    sent.popAll (drained);
    std::sort (drained.begin(), drained.end(),
               [] (const MonitorRecord& a, const MonitorRecord& b) { return a.sequence < b.sequence; });
    for (const auto& record : drained)
    {
        kept.push_back (record);
        if (kept.size() > keptLimit)
            kept.pop_front();
        if (onRecord != nullptr)
            onRecord (record);
    }
}

void MidiMonitor::clear()
{
    drained.clear();
    received.popAll (drained);
    sent.popAll (drained);
    drained.clear();
    kept.clear();
    dropped = 0;
}
