#include <gtest/gtest.h>

#include "support/ManualTimer.h"
#include "support/MessageLoop.h"
#include "support/RecordingDialogs.h"

#include "midi/PresetTransfer.h"
#include "midi/SimulatedMarlo.h"
#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"

namespace
{
using Outcome = PresetTransfer::Outcome;

/** A transfer on a simulated Marlo, keeping every result it reports. */
struct TransferRig
{
    TransferRig()
    {
        transfer.onGetFinished = [this] (const PresetTransfer::Result& result)
        { results.push_back (result); };
    }

    void connect()
    {
        midi.setInputDevice (SimulatedMarlo::deviceName);
        midi.setOutputDevice (SimulatedMarlo::deviceName);
    }

    bool waitForResult()
    {
        return runMessageLoopUntil ([this] { return !results.empty(); });
    }

    RecordingDialogs dialogs;
    SimulatedMarlo* marlo = new SimulatedMarlo(); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    ManualTimer* timer = new ManualTimer(); // owned by the transfer
    PresetTransfer transfer{midi, std::unique_ptr<TransferTimer> (timer)};
    std::vector<PresetTransfer::Result> results;
};

PresetCodec::Image distinctPreset()
{
    auto image = factoryPresetData();
    image.set (24, 77);
    return image;
}
} // namespace

TEST (PresetTransferResult, EachWayAGetEndsIsReportedOnceWithoutAnyAlert)
{
    {
        TransferRig rig;
        rig.marlo->setPreset (distinctPreset());
        rig.connect();
        rig.transfer.get();
        ASSERT_TRUE (rig.waitForResult());
        EXPECT_EQ (rig.results[0].outcome, Outcome::received);
        EXPECT_EQ (rig.results[0].image, distinctPreset());
        EXPECT_FALSE (rig.timer->isRunning());
    }
    {
        TransferRig rig;
        rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
        rig.connect();
        rig.transfer.get();
        EXPECT_EQ (rig.timer->fireUntilStopped().size(),
                   static_cast<size_t> (PresetTransfer::maxRetries + 1));
        ASSERT_EQ (rig.results.size(), 1u);
        EXPECT_EQ (rig.results[0].outcome, Outcome::timedOut);
        EXPECT_TRUE (rig.results[0].image.isEmpty());
    }
    {
        TransferRig rig;
        rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::shortReply);
        rig.connect();
        rig.transfer.get();
        ASSERT_TRUE (rig.waitForResult());
        EXPECT_EQ (rig.results[0].outcome, Outcome::invalidReply);
    }
    {
        TransferRig rig;
        rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
        rig.connect();
        rig.transfer.get();
        rig.midi.setPorts (std::make_unique<SimulatedMarlo>());
        rig.timer->fireUntilStopped();
        ASSERT_EQ (rig.results.size(), 1u);
        EXPECT_EQ (rig.results[0].outcome, Outcome::midiError);
    }
    {
        TransferRig rig;
        rig.midi.setOutputDevice (SimulatedMarlo::deviceName);
        rig.transfer.get();
        ASSERT_EQ (rig.results.size(), 1u) << "without an input the get ends at once";
        EXPECT_EQ (rig.results[0].outcome, Outcome::noDevice);
        EXPECT_EQ (rig.marlo->getRequestCount(), 0);
        EXPECT_TRUE (rig.dialogs.alertsShown().empty());
    }
}

TEST (PresetTransferResult, ASendNeedsAnOutputAndSendsTheDumpOfTheImage)
{
    TransferRig rig;
    EXPECT_EQ (rig.transfer.send (distinctPreset()), Outcome::noDevice);
    EXPECT_EQ (rig.marlo->getDumpCount(), 0);

    rig.midi.setOutputDevice (SimulatedMarlo::deviceName);
    EXPECT_EQ (rig.transfer.send (distinctPreset()), Outcome::sent);
    ASSERT_TRUE (runMessageLoopUntil ([&] { return rig.marlo->getDumpCount() == 1; }));
    EXPECT_EQ (rig.marlo->getPreset(), distinctPreset());
    EXPECT_TRUE (rig.dialogs.alertsShown().empty());
}

TEST (PresetTransferResult, ADetachedTransferDropsAReplyOnItsWayAndReportsNothing)
{
    TransferRig rig;
    rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
    rig.connect();
    rig.transfer.get();
    auto reply = createReplyHeader();
    reply.addArray (distinctPreset());
    rig.midi.handleIncomingMidiMessage (
        nullptr, juce::MidiMessage::createSysExMessage (reply.getRawDataPointer(), reply.size()));
    rig.transfer.detach();
    runMessageLoopFor (0);
    EXPECT_TRUE (rig.results.empty());
    EXPECT_FALSE (rig.transfer.isGetInProgress());
    EXPECT_FALSE (rig.timer->isRunning());
}
