#include <gtest/gtest.h>

#include "midi/PresetSender.h"
#include "midi/SimulatedMarlo.h"
#include "preset/PresetLayout.h"
#include "support/SimulatedClock.h"

namespace
{
struct RecordingClient final : public PresetSender::Client
{
    void presetSent (const juce::String&) override { sentAt.push_back (clock.now()); }
    void sendingSettled (const PresetCodec::Image& image) override
    {
        settledAt.push_back (clock.now());
        settled = image;
    }

    explicit RecordingClient (SimulatedClock& c) : clock (c) {}
    SimulatedClock& clock;
    std::vector<double> sentAt;
    std::vector<double> settledAt;
    PresetCodec::Image settled;
};

class PresetSenderTest : public ::testing::Test
{
protected:
    PresetSenderTest()
    {
        clock.afterEachStep = [this] { marlo->deliverDue(); };
        midi.setOutputDevice (SimulatedMarlo::deviceName);
        sender.setSendingChanges (true);
    }

    /** The factory preset with knob 3's CC number set, a preset of its own for each value. */
    static PresetCodec::Image presetWith (int knobCC)
    {
        auto image = factoryPresetData();
        image.set (24, static_cast<juce::uint8> (knobCC));
        return image;
    }

    void changeAt (double time, int knobCC)
    {
        clock.advanceTo (time);
        sender.changed (presetWith (knobCC), client);
    }

    SimulatedClock clock;
    SimulatedMarlo* marlo = new SimulatedMarlo (clock.function()); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    PresetSender sender{midi, clock.createTimer(), clock.function()};
    RecordingClient client{clock};
};
} // namespace

TEST_F (PresetSenderTest, ChangesGoOutAfterAPauseWithinTheBoundAndOnlyTheNewestIsSent)
{
    changeAt (0, 1);
    changeAt (100, 2);
    clock.advanceTo (249);
    EXPECT_TRUE (client.sentAt.empty()) << "changes still pausing";
    clock.advanceTo (250);
    ASSERT_EQ (client.sentAt.size(), 1u);
    EXPECT_EQ (marlo->getPreset(), presetWith (2)) << "the newest, and the older one never went";

    // A held key: a change every 20 ms for two seconds is heard while it repeats.
    std::vector<double> changes;
    for (int i = 0; i < 100; ++i)
    {
        changes.push_back (1000 + 20 * i);
        changeAt (changes.back(), i % 128);
    }
    clock.advanceBy (1000);
    const std::vector<double> sends (client.sentAt.begin() + 1, client.sentAt.end());
    EXPECT_LE (sends.size(), 2000u / 300u + 2u);
    for (const auto change : changes)
    {
        const auto next = std::lower_bound (sends.begin(), sends.end(), change + 0.001);
        ASSERT_NE (next, sends.end());
        EXPECT_LE (*next - change, SendSchedule::longestWaitMs) << "change at " << change;
    }
    EXPECT_EQ (marlo->getPreset(), presetWith (99));
    EXPECT_EQ (marlo->getDroppedDumpCount(), 0);

    // Send Preset goes at once, but never before the dump on the wire has left it.
    clock.advanceTo (5000);
    ASSERT_TRUE (sender.send (presetWith (7), client));
    ASSERT_TRUE (sender.send (presetWith (8), client));
    ASSERT_TRUE (sender.send (presetWith (9), client));
    EXPECT_EQ (client.sentAt.back(), 5000);
    clock.advanceBy (100);
    EXPECT_NEAR (client.sentAt.back(), 5000 + 103 * SendSchedule::wireMsPerByte, 1.0);
    EXPECT_EQ (marlo->getPreset(), presetWith (9)) << "8 was replaced while it waited for the wire";
}

TEST_F (PresetSenderTest, NothingGoesOutDuringAGetAndWhatWaitedGoesWhenItEnds)
{
    sender.getStarted();
    changeAt (0, 5);
    EXPECT_TRUE (sender.send (presetWith (6), client));
    clock.advanceTo (2000);
    EXPECT_EQ (marlo->getDumpCount(), 0);

    sender.getEnded();
    ASSERT_EQ (client.sentAt, std::vector<double> ({2000}));
    EXPECT_EQ (marlo->getPreset(), presetWith (6));

    // Sending changes turned off drops a change waiting, not a Send Preset.
    changeAt (3000, 7);
    sender.setSendingChanges (false);
    clock.advanceTo (4000);
    EXPECT_EQ (marlo->getDumpCount(), 1);
}

TEST_F (PresetSenderTest, AClosedOutputTurnsSendingChangesOffWithOneFailure)
{
    int failures = 0;
    MidiManager closed{std::make_unique<SimulatedMarlo> (clock.function())};
    PresetSender unconnected{closed, clock.createTimer(), clock.function()};
    unconnected.onSendingChangesFailed = [&failures, &unconnected]
    {
        ++failures;
        EXPECT_FALSE (unconnected.isSendingChanges());
    };
    unconnected.setSendingChanges (true);

    for (int i = 0; i < 50; ++i)
    {
        clock.advanceTo (10 * i);
        unconnected.changed (presetWith (i), client);
    }
    clock.advanceBy (2000);
    EXPECT_EQ (failures, 1);
    EXPECT_FALSE (unconnected.isSendingChanges());
    EXPECT_FALSE (unconnected.send (presetWith (1), client)) << "Send Preset is refused, nothing waits";
    EXPECT_FALSE (unconnected.isWaiting());
}

TEST_F (PresetSenderTest, OnlyTheLastSendOfABurstSettles)
{
    for (int i = 0; i < 40; ++i)
        changeAt (20 * i, i);
    clock.advanceBy (1000);
    ASSERT_GE (client.sentAt.size(), 2u);
    ASSERT_EQ (client.settledAt.size(), 1u);
    EXPECT_EQ (client.settledAt[0], client.sentAt.back() + SendSchedule::quietMs);
    EXPECT_EQ (client.settled, presetWith (39));

    // A Send Preset is a burst of its own; a client that went away is told nothing.
    ASSERT_TRUE (sender.send (presetWith (50), client));
    EXPECT_EQ (client.settledAt.size(), 2u);
    changeAt (3000, 51);
    sender.forget (client);
    clock.advanceBy (1000);
    EXPECT_EQ (client.settledAt.size(), 2u);
    EXPECT_EQ (marlo->getPreset(), presetWith (50));
}

TEST_F (PresetSenderTest, SelectionsArePacedEvenWithChangesOffAndAGetDropsTheEditItReplaced)
{
    sender.setSendingChanges (false);
    for (int i = 0; i < 10; ++i)
    {
        clock.advanceTo (30.0 * i);
        ASSERT_TRUE (sender.select (presetWith (i), client));
    }
    clock.advanceBy (1000);
    EXPECT_LE (client.sentAt.size(), 2u) << "a held key sends the newest it reached, not each row";
    EXPECT_EQ (marlo->getPreset(), presetWith (9));

    // An edit waits for the pause; a get replaces the document's preset meanwhile.
    sender.setSendingChanges (true);
    const auto before = marlo->getDumpCount();
    changeAt (2000, 50);
    sender.getStarted();
    sender.dropWaiting (client);
    sender.getEnded();
    clock.advanceBy (1000);
    EXPECT_EQ (marlo->getDumpCount(), before) << "the replaced edit would undo the get";
}
