#include <gtest/gtest.h>

#include "support/SimulatedRig.h"

namespace
{
class PresetTransferTest : public ::testing::Test
{
protected:
    SimulatedRig rig;
};
} // namespace

TEST_F (PresetTransferTest, ASilentDeviceGetsNineRequestsThenTheFailureAlertAtSevenSeconds)
{
    rig.connect();
    rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
    rig.click ("Load From MIDI");
    EXPECT_EQ (rig.marlo->getRequestCount(), 1);

    // Requests at 0, 1000, 1750, ... 6250 ms; the failure at 7000 ms and not a step before.
    int elapsed = 0;
    while (rig.timer->isRunning())
    {
        EXPECT_TRUE (rig.dialogs.alertsShown().empty()) << elapsed;
        elapsed += rig.timer->getInterval();
        rig.timer->fire();
    }
    EXPECT_EQ (elapsed, 7000);
    EXPECT_EQ (rig.dialogs.countAlerts ("MIDI Get Preset Unsuccessful"), 1);
    EXPECT_EQ (rig.dialogs.alertsShown().back().message, "Verify MIDI device settings and try again.");
    EXPECT_EQ (rig.marlo->getRequestCount(), 9);
    EXPECT_FALSE (rig.controller->isAwaitingReply());

    // A reply that comes after the time-out is not taken.
    const auto before = rig.controller->getPresetData();
    rig.receive (SimulatedRig::replyCarrying (SimulatedRig::distinctPreset()));
    runMessageLoopFor (0);
    EXPECT_EQ (rig.controller->getPresetData(), before);
    EXPECT_EQ (rig.dialogs.alertsShown().size(), 1u);
    EXPECT_EQ (rig.marlo->getRequestCount(), 9);
}

TEST_F (PresetTransferTest, AnAnsweredRequestLoadsThePresetAndStopsRepeating)
{
    rig.marlo->setPreset (SimulatedRig::distinctPreset());
    rig.connect();
    rig.click ("Load From MIDI");

    ASSERT_TRUE (rig.waitForAlert ("MIDI Get Sucess"));
    EXPECT_EQ (rig.dialogs.alertsShown().back().message, "Preset sucessfully retrieved from hardware.");
    EXPECT_EQ (rig.controller->getPresetData(), SimulatedRig::distinctPreset());
    EXPECT_EQ (rig.preset["Knob 3 CC"].getValue(), 77.0);

    EXPECT_FALSE (rig.timer->isRunning());
    rig.timer->fire();
    EXPECT_EQ (rig.marlo->getRequestCount(), 1);
    EXPECT_EQ (rig.dialogs.alertsShown().size(), 1u);
}

TEST_F (PresetTransferTest, ALateAnswerIsTakenAtTheRepeatItAnswers)
{
    rig.marlo->setPreset (SimulatedRig::distinctPreset());
    rig.marlo->answerFromRequest (3);
    rig.connect();
    rig.click ("Load From MIDI");
    rig.timer->fire();
    rig.timer->fire();
    EXPECT_EQ (rig.marlo->getRequestCount(), 3);

    ASSERT_TRUE (rig.waitForAlert ("MIDI Get Sucess"));
    EXPECT_EQ (rig.controller->getPresetData(), SimulatedRig::distinctPreset());
    EXPECT_FALSE (rig.timer->isRunning());
    EXPECT_EQ (rig.marlo->getRequestCount(), 3);
    EXPECT_EQ (rig.dialogs.alertsShown().size(), 1u);
}

TEST_F (PresetTransferTest, RefusedRepliesChangeNothingAndAreNotRequestedAgain)
{
    for (auto behaviour : {SimulatedMarlo::Behaviour::outOfRangeByte, SimulatedMarlo::Behaviour::shortReply})
    {
        rig.dialogs.clear();
        rig.marlo->setPreset (SimulatedRig::distinctPreset());
        rig.marlo->setBehaviour (behaviour);
        const auto before = rig.controller->getPresetData();
        const auto requestsBefore = rig.marlo->getRequestCount();
        rig.connect();
        rig.click ("Load From MIDI");

        ASSERT_TRUE (rig.waitForAlert ("Invalid MIDI Message"));
        EXPECT_EQ (rig.dialogs.alertsShown().back().message, "Verify MIDI Connection and Device Settings");
        EXPECT_EQ (rig.controller->getPresetData(), before);
        EXPECT_EQ (rig.preset["Knob 3 CC"].getValue(), 22.0);
        EXPECT_FALSE (rig.timer->isRunning());
        rig.timer->fire();
        EXPECT_EQ (rig.marlo->getRequestCount(), requestsBefore + 1);
        EXPECT_EQ (rig.dialogs.alertsShown().size(), 1u);
    }
}

TEST_F (PresetTransferTest, ExtraBytesAndAForeignMessageFirstStillGetThePreset)
{
    for (auto behaviour :
         {SimulatedMarlo::Behaviour::extraBytes, SimulatedMarlo::Behaviour::foreignSysexFirst})
    {
        rig.dialogs.clear();
        ASSERT_TRUE (rig.controller->loadPresetData (factoryPresetData()));
        rig.marlo->setPreset (SimulatedRig::distinctPreset());
        rig.marlo->setBehaviour (behaviour);
        rig.connect();
        rig.click ("Load From MIDI");

        ASSERT_TRUE (rig.waitForAlert ("MIDI Get Sucess"));
        EXPECT_EQ (rig.controller->getPresetData(), SimulatedRig::distinctPreset());
        EXPECT_EQ (rig.dialogs.alertsShown().size(), 1u);
    }
}

TEST_F (PresetTransferTest, MessagesThatAreNotTheReplyLeaveTheGetWaiting)
{
    rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
    rig.connect();
    rig.click ("Load From MIDI");

    auto dump = rig.controller->createDumpData(); // the editor's own dump echoed back
    const juce::uint8 truncatedHeader[] = {0x00, 0x3A, 0x6C, 0x00, 0x43, 0x63};
    const juce::uint8 nothing[1] = {};
    for (const auto& message :
         {juce::MidiMessage::createSysExMessage (dump.getRawDataPointer(), dump.size()),
          juce::MidiMessage::createSysExMessage (truncatedHeader, sizeof (truncatedHeader)),
          juce::MidiMessage::createSysExMessage (nothing, 0), juce::MidiMessage::noteOn (1, 60, 0.5f)})
        rig.receive (message);
    runMessageLoopFor (0);
    EXPECT_TRUE (rig.controller->isAwaitingReply());
    EXPECT_TRUE (rig.dialogs.alertsShown().empty());

    rig.receive (SimulatedRig::replyCarrying (SimulatedRig::distinctPreset()));
    ASSERT_TRUE (rig.waitForAlert ("MIDI Get Sucess"));
    EXPECT_EQ (rig.controller->getPresetData(), SimulatedRig::distinctPreset());
}

TEST_F (PresetTransferTest, ASecondGetWhileWaitingIsIgnored)
{
    rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
    rig.connect();
    rig.click ("Load From MIDI");
    rig.click ("Load From MIDI");
    EXPECT_EQ (rig.marlo->getRequestCount(), 1);
    EXPECT_EQ (rig.timer->getInterval(), 1000) << "the second click did not restart the wait";
    EXPECT_TRUE (rig.dialogs.alertsShown().empty());

    rig.timer->fire();
    ASSERT_EQ (rig.controller->getRetryCount(), 1);
    rig.click ("Load From MIDI");
    EXPECT_EQ (rig.controller->getRetryCount(), 1);
    EXPECT_EQ (rig.timer->getInterval(), 750);
    EXPECT_EQ (rig.marlo->getRequestCount(), 2);
}

TEST_F (PresetTransferTest, AReplyWithoutAGetIsIgnored)
{
    const auto before = rig.controller->getPresetData();
    rig.receive (SimulatedRig::replyCarrying (SimulatedRig::distinctPreset()));
    runMessageLoopFor (0);
    EXPECT_EQ (rig.controller->getPresetData(), before);
    EXPECT_TRUE (rig.dialogs.alertsShown().empty());
}

TEST_F (PresetTransferTest, SendingNeedsOnlyAnOutputAndGettingNeedsBoth)
{
    rig.midi.setOutputDevice (SimulatedMarlo::deviceName);
    rig.preset["Switch 4 CC"].userSets (5);

    rig.click ("Load From MIDI");
    EXPECT_EQ (rig.dialogs.countAlerts ("No MIDI Device selected."), 1);
    EXPECT_FALSE (rig.controller->isAwaitingReply());

    rig.click ("Save To MIDI");
    ASSERT_TRUE (runMessageLoopUntil ([&] { return rig.marlo->getDumpCount() == 1; }));
    EXPECT_EQ (rig.marlo->getPreset(), rig.controller->getPresetData());
    EXPECT_EQ (rig.marlo->getPreset()[89], 5);
    EXPECT_EQ (rig.dialogs.alertsShown().size(), 1u);
}

TEST_F (PresetTransferTest, ADeviceThatVanishesDuringAGetEndsInTheFailureAlert)
{
    rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
    rig.connect();
    rig.click ("Load From MIDI");
    rig.marlo->vanish();
    rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::answer);
    rig.timer->fireUntilStopped();
    EXPECT_EQ (rig.dialogs.countAlerts ("MIDI Get Preset Unsuccessful"), 1);
    EXPECT_EQ (rig.marlo->getRequestCount(), 1);
    EXPECT_EQ (rig.dialogs.alertsShown().size(), 1u);
}

TEST_F (PresetTransferTest, AGetIsOneUndoStepAndUndoSendsNothing)
{
    rig.controller->clearUndoHistory();
    const auto startingCc = rig.preset["Knob 1 CC"].getValue();
    rig.preset["Knob 1 CC"].userSets (startingCc == 40.0 ? 41 : 40);
    const auto beforeGet = rig.controller->getPresetData();
    rig.marlo->setPreset (SimulatedRig::distinctPreset());
    rig.connect();
    rig.click ("Load From MIDI");
    ASSERT_TRUE (rig.waitForAlert ("MIDI Get Sucess"));
    ASSERT_EQ (rig.controller->getPresetData(), SimulatedRig::distinctPreset());
    const auto requests = rig.marlo->getRequestCount();
    const auto dumps = rig.marlo->getDumpCount();

    ASSERT_TRUE (rig.controller->undo());
    EXPECT_EQ (rig.controller->getPresetData(), beforeGet);
    EXPECT_EQ (rig.preset["Knob 3 CC"].getValue(), beforeGet[24]);
    ASSERT_TRUE (rig.controller->redo());
    EXPECT_EQ (rig.controller->getPresetData(), SimulatedRig::distinctPreset());
    ASSERT_TRUE (rig.controller->undo());
    ASSERT_TRUE (rig.controller->undo());
    EXPECT_EQ (rig.preset["Knob 1 CC"].getValue(), startingCc);
    EXPECT_EQ (rig.controller->getPresetData(), factoryPresetData());
    EXPECT_FALSE (rig.controller->undo());

    EXPECT_FALSE (rig.timer->isRunning());
    EXPECT_EQ (rig.marlo->getRequestCount(), requests);
    EXPECT_EQ (rig.marlo->getDumpCount(), dumps);
    EXPECT_EQ (rig.marlo->getPreset(), SimulatedRig::distinctPreset()) << "nothing was sent to the device";
}
