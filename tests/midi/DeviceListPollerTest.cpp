#include <gtest/gtest.h>

#include "support/ManualTimer.h"
#include "support/RecordingDialogs.h"

#include "midi/DeviceListPoller.h"
#include "midi/PresetTransfer.h"
#include "midi/SimulatedMarlo.h"

namespace
{
using Lists = DeviceListPoller::Lists;

/** A poller on the test's own ticks and reads, over lists the test sets. */
struct PollerRig
{
    PollerRig()
    {
        poller.isNeeded = [this] { return needed; };
        poller.onChanged = [this] (const Lists& changed) { reported.push_back (changed); };
    }

    /** One second gone: the tick, then the read it asked for (if any), then the hand-over. */
    bool poll()
    {
        timer->fire();
        const auto read = poller.readPending();
        poller.deliverPending();
        return read;
    }

    Lists lists{{"Keys"}, {"Synth"}};
    bool needed = true;
    std::vector<Lists> reported;
    ManualTimer* timer = new ManualTimer(); // owned by the poller
    DeviceListPoller poller{[this] { return lists; }, std::unique_ptr<TransferTimer> (timer), false};
};

/** A MIDI manager on a simulated Marlo, followed by a poller of its lists, with a transfer on it. */
struct FollowedMarlo
{
    FollowedMarlo()
    {
        poller.isNeeded = [] { return true; };
        poller.onChanged = [this] (const Lists& lists)
        { midi.followDeviceLists (lists.inputs, lists.outputs); };
        poller.start();
        transfer.onGetFinished = [this] (const PresetTransfer::Result& result)
        { results.push_back (result); };
    }

    void poll()
    {
        pollTimer->fire();
        poller.readPending();
        poller.deliverPending();
    }

    RecordingDialogs dialogs;
    SimulatedMarlo* marlo = new SimulatedMarlo(); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    ManualTimer* pollTimer = new ManualTimer();
    DeviceListPoller poller{[this] {
                                return Lists{marlo->getInputNames(), marlo->getOutputNames()};
                            },
                            std::unique_ptr<TransferTimer> (pollTimer), false};
    ManualTimer* getTimer = new ManualTimer();
    PresetTransfer transfer{midi, std::unique_ptr<TransferTimer> (getTimer)};
    std::vector<PresetTransfer::Result> results;
};
} // namespace

TEST (DeviceListPoller, ReadsOncePerSecondOnlyWhileNeededAndReportsOnlyChanges)
{
    PollerRig rig;
    rig.poller.start();
    EXPECT_EQ (rig.timer->getInterval(), 1000);
    EXPECT_FALSE (rig.poller.readPending()) << "nothing is read before the first tick";

    EXPECT_TRUE (rig.poll());
    ASSERT_EQ (rig.reported.size(), 1u) << "the first read is always handed over";
    EXPECT_TRUE (rig.poll());
    EXPECT_EQ (rig.reported.size(), 1u) << "the same lists again are not";

    // A read still under way when the next ticks come is not doubled.
    rig.timer->fire();
    rig.timer->fire();
    EXPECT_TRUE (rig.poller.readPending());
    EXPECT_FALSE (rig.poller.readPending());
    EXPECT_EQ (rig.poller.getReadCount(), 3);

    rig.needed = false;
    rig.lists.inputs.add ("Marlo");
    EXPECT_FALSE (rig.poll());
    EXPECT_FALSE (rig.poll());
    EXPECT_EQ (rig.poller.getReadCount(), 3) << "never read while nobody needs the lists";

    rig.needed = true;
    EXPECT_TRUE (rig.poll());
    ASSERT_EQ (rig.reported.size(), 2u);
    EXPECT_EQ (rig.reported.back().inputs, juce::StringArray ({"Keys", "Marlo"}));
}

TEST (DeviceListPoller, AnUnpluggedDeviceIsClosedAtTheNextPollAndOpenedAgainWhenItsNameReturns)
{
    FollowedMarlo rig;
    EXPECT_EQ (rig.midi.describeConnection(), "Not connected");
    rig.midi.setInputDevice (SimulatedMarlo::deviceName);
    rig.midi.setOutputDevice (SimulatedMarlo::deviceName);
    rig.poll();
    EXPECT_EQ (rig.midi.describeConnection(), "Connected: Marlo (simulated) / Marlo (simulated)");

    rig.marlo->vanish();
    rig.poll();
    EXPECT_FALSE (rig.midi.isInputOpen());
    EXPECT_FALSE (rig.midi.isOutputOpen());
    EXPECT_TRUE (rig.midi.isChosenDeviceMissing());
    EXPECT_EQ (rig.midi.describeConnection(), "Disconnected: Marlo (simulated)");

    rig.marlo->plugIn();
    rig.poll();
    EXPECT_TRUE (rig.midi.isInputOpen());
    EXPECT_TRUE (rig.midi.isOutputOpen());
    EXPECT_EQ (rig.midi.describeConnection(), "Connected: Marlo (simulated) / Marlo (simulated)");
    EXPECT_TRUE (rig.dialogs.alertsShown().empty()) << "nothing was being sent or asked";
}

TEST (DeviceListPoller, AGetWhoseDeviceIsUnpluggedEndsWithAMidiErrorAtTheNextPollNotAtTheTimeOut)
{
    FollowedMarlo rig;
    rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
    rig.midi.setInputDevice (SimulatedMarlo::deviceName);
    rig.midi.setOutputDevice (SimulatedMarlo::deviceName);
    rig.poll();
    rig.transfer.get();
    rig.getTimer->fire(); // the first repeat, a second after the request
    ASSERT_TRUE (rig.results.empty());

    rig.marlo->vanish();
    rig.poll();
    ASSERT_EQ (rig.results.size(), 1u) << "ended at the poll, with no further repeat";
    EXPECT_EQ (rig.results[0].outcome, PresetTransfer::Outcome::midiError);
    EXPECT_FALSE (rig.getTimer->isRunning());
    EXPECT_EQ (rig.transfer.getRetryCount(), 0);

    // Plugged in again, a get runs as before.
    rig.marlo->plugIn();
    rig.poll();
    rig.transfer.get();
    EXPECT_TRUE (rig.transfer.isGetInProgress());
    EXPECT_EQ (rig.marlo->getRequestCount(), 3);
}
