#include <gtest/gtest.h>

#include "support/ManualTimer.h"
#include "support/MessageLoop.h"
#include "support/RecordingDialogs.h"

#include "midi/MidiMonitor.h"
#include "midi/PresetTransfer.h"
#include "midi/SimulatedMarlo.h"
#include "preset/PresetLayout.h"

#include <thread>

namespace
{
using Direction = MonitorRecord::Direction;
using Kind = MonitoredMessage::Kind;

/** A monitor on a simulated Marlo whose FIFO is drained only when the test fires its timer. */
struct MonitorRig
{
    explicit MonitorRig (int capacity = MidiMonitor::defaultCapacity,
                         int kept = MidiMonitor::defaultKeptLimit)
        : monitor (midi, std::unique_ptr<TransferTimer> (timer), capacity, kept)
    {
        midi.setInputDevice (SimulatedMarlo::deviceName);
        midi.setOutputDevice (SimulatedMarlo::deviceName);
        monitor.onRecord = [this] (const MonitorRecord& record) { records.push_back (record); };
    }

    /** As the MIDI input thread delivers a message. */
    void receive (const juce::MidiMessage& message) { midi.handleIncomingMidiMessage (nullptr, message); }

    std::vector<int> valuesDrained() const
    {
        std::vector<int> values;
        for (const auto& record : records)
            values.push_back (record.describe().value);
        return values;
    }

    RecordingDialogs dialogs;
    SimulatedMarlo* marlo = new SimulatedMarlo(); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    ManualTimer* timer = new ManualTimer(); // owned by the monitor
    MidiMonitor monitor;
    std::vector<MonitorRecord> records;
};

juce::MidiMessage cc (int value)
{
    return juce::MidiMessage::controllerEvent (1, 20, value);
}
} // namespace

TEST (MidiMonitor, RecordsWaitForTheDrainAndInterleaveReceivedAndSentInOrder)
{
    MonitorRig rig;
    EXPECT_TRUE (rig.timer->isRunning());
    rig.receive (cc (1));
    rig.midi.sendMessage (juce::MidiMessage::noteOn (2, 60, juce::uint8 (90)));
    rig.receive (cc (2));
    EXPECT_TRUE (rig.records.empty());

    rig.timer->fire();
    ASSERT_EQ (rig.records.size(), 3u);
    EXPECT_EQ (rig.records[0].direction, Direction::in);
    EXPECT_EQ (rig.records[1].direction, Direction::out);
    EXPECT_EQ (rig.records[1].describe().kind, Kind::noteOn);
    EXPECT_EQ (rig.records[1].describe().channel, 2);
    EXPECT_EQ (rig.records[2].direction, Direction::in);
    EXPECT_EQ (rig.valuesDrained(), (std::vector<int>{1, 90, 2}));
    EXPECT_LT (rig.records[0].sequence, rig.records[1].sequence);

    rig.timer->fire();
    EXPECT_EQ (rig.records.size(), 3u);
}

TEST (MidiMonitor, AFullFifoDropsAndCountsWhatItCannotTake)
{
    MonitorRig rig (4);
    // From a thread of its own, as the MIDI service calls; it never waits for the message thread.
    std::thread midiThread (
        [&]
        {
            for (int value = 0; value < 10; ++value)
                rig.receive (cc (value));
        });
    midiThread.join();
    EXPECT_FALSE (rig.monitor.hasRoomForInput());
    EXPECT_EQ (rig.monitor.getDroppedCount(), 6);

    rig.timer->fire();
    EXPECT_EQ (rig.valuesDrained(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE (rig.monitor.hasRoomForInput());

    rig.receive (cc (42));
    rig.timer->fire();
    EXPECT_EQ (rig.valuesDrained().back(), 42);
    EXPECT_EQ (rig.monitor.getDroppedCount(), 6);

    rig.monitor.clear();
    EXPECT_EQ (rig.monitor.getDroppedCount(), 0);
    EXPECT_TRUE (rig.monitor.getKept().empty());
}

TEST (MidiMonitor, KeepsOnlyTheLastRecords)
{
    MonitorRig rig (64, 5);
    for (int value = 0; value < 12; ++value)
    {
        rig.receive (cc (value));
        if (value % 4 == 3)
            rig.timer->fire();
    }
    ASSERT_EQ (rig.monitor.getKept().size(), 5u);
    EXPECT_EQ (rig.monitor.getKept().front().describe().value, 7);
    EXPECT_EQ (rig.monitor.getKept().back().describe().value, 11);
    EXPECT_EQ (rig.records.size(), 12u);
}

TEST (MidiMonitor, AGetIsAnsweredAsBeforeAndBothItsMessagesAreShown)
{
    MonitorRig rig;
    auto preset = factoryPresetData();
    preset.set (24, 77);
    rig.marlo->setPreset (preset);
    rig.marlo->setLatencyMs (1);

    std::optional<PresetTransfer::Result> result;
    PresetTransfer transfer (rig.midi, std::make_unique<ManualTimer>());
    transfer.onGetFinished = [&] (const PresetTransfer::Result& r) { result = r; };
    transfer.get();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return result.has_value(); }));
    EXPECT_EQ (result->outcome, PresetTransfer::Outcome::received);
    EXPECT_EQ (result->image, preset);

    rig.timer->fire();
    ASSERT_EQ (rig.records.size(), 2u);
    EXPECT_EQ (rig.records[0].direction, Direction::out);
    EXPECT_EQ (rig.records[0].describe().kind, Kind::presetRequest);
    EXPECT_EQ (rig.records[1].direction, Direction::in);
    EXPECT_EQ (rig.records[1].describe().kind, Kind::presetReply);
    EXPECT_EQ (rig.records[1].length, 103);
    EXPECT_EQ (rig.records[1].keptSize, MonitorRecord::keptBytes);
}

TEST (MidiMonitor, APlayerThatWaitsForRoomLosesNothingThroughASmallFifo)
{
    MonitorRig rig (8);
    rig.marlo->setRoomCheck ([&] { return rig.monitor.hasRoomForInput(); });
    constexpr int plays = 2000;
    std::vector<int> expected;
    for (int i = 0; i < plays; ++i)
    {
        ASSERT_TRUE (rig.marlo->play ("Knob 1=" + juce::String (i % 128)).wasOk());
        expected.push_back (i % 128);
    }

    // The device's thread sends as fast as the drains make room. The drain is fired by hand; a bound
    // on drains in a row that bring nothing only keeps a broken player from hanging the suite.
    constexpr int idleDrainsAllowed = 10'000'000;
    for (int idle = 0; rig.records.size() < plays && idle < idleDrainsAllowed; ++idle)
    {
        const auto before = rig.records.size();
        rig.timer->fire();
        if (rig.records.size() != before)
            idle = 0;
        std::this_thread::yield();
    }
    rig.marlo->setRoomCheck (nullptr);

    EXPECT_EQ (rig.valuesDrained(), expected);
    EXPECT_EQ (rig.monitor.getDroppedCount(), 0);
    EXPECT_EQ (rig.marlo->getPendingPlayCount(), 0);
}

TEST (MidiMonitor, APlayTheControlDoesNotTakeSendsNothing)
{
    MonitorRig rig;
    EXPECT_TRUE (rig.marlo->play ("Knob 1=press").failed());
    EXPECT_TRUE (rig.marlo->play ("Keybed=60").failed());
    EXPECT_EQ (rig.marlo->getPendingPlayCount(), 0);
}
