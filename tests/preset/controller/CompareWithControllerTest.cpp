#include <gtest/gtest.h>

#include "support/SimulatedRig.h"

#include <optional>

namespace
{
class CompareWithControllerTest : public ::testing::Test
{
protected:
    CompareWithControllerTest()
    {
        rig.controller->onCompared = [this] (const PresetModel& controllerPreset)
        {
            ++compares;
            received = controllerPreset.getImage();
        };
    }

    SimulatedRig rig;
    int compares = 0;
    std::optional<PresetCodec::Image> received;
};
} // namespace

TEST_F (CompareWithControllerTest, TheControllersPresetGoesToTheCompareAndTheDocumentKeepsItsOwn)
{
    rig.marlo->setPreset (SimulatedRig::distinctPreset());
    rig.connect();
    const auto before = rig.controller->getPresetData();

    rig.controller->compareWithController();

    ASSERT_TRUE (runMessageLoopUntil ([this] { return compares == 1; }, 3000));
    EXPECT_EQ (*received, SimulatedRig::distinctPreset());
    EXPECT_EQ (rig.controller->getPresetData(), before);
    EXPECT_EQ (rig.preset["Knob 3 CC"].getValue(), before[24]);
    EXPECT_FALSE (rig.controller->canUndo());
    EXPECT_FALSE (rig.controller->hasEverChanged());
    // A compare that found its answer says so in its window, not in an alert.
    EXPECT_TRUE (rig.dialogs.alertsShown().empty());
    EXPECT_FALSE (rig.timer->isRunning());
    EXPECT_EQ (rig.marlo->getRequestCount(), 1);

    // The next get is a get again: its preset is loaded.
    rig.click ("Load From MIDI");
    ASSERT_TRUE (rig.waitForAlert ("MIDI Get Sucess"));
    EXPECT_EQ (rig.controller->getPresetData(), SimulatedRig::distinctPreset());
    EXPECT_EQ (compares, 1);
}

TEST_F (CompareWithControllerTest, ACompareAndAGetNeverRunAtOnce)
{
    rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
    rig.connect();

    // A get waits: the compare is refused without a word, and the get stays a get.
    rig.click ("Load From MIDI");
    rig.controller->compareWithController();
    EXPECT_EQ (rig.marlo->getRequestCount(), 1);
    rig.receive (SimulatedRig::replyCarrying (SimulatedRig::distinctPreset()));
    ASSERT_TRUE (rig.waitForAlert ("MIDI Get Sucess"));
    EXPECT_EQ (rig.controller->getPresetData(), SimulatedRig::distinctPreset());
    EXPECT_EQ (compares, 0);

    // A compare waits: a get and a second compare are refused, and the reply goes to the compare.
    rig.controller->compareWithController();
    rig.click ("Load From MIDI");
    rig.controller->compareWithController();
    EXPECT_EQ (rig.marlo->getRequestCount(), 2);
    rig.receive (SimulatedRig::replyCarrying (factoryPresetData()));
    ASSERT_TRUE (runMessageLoopUntil ([this] { return compares == 1; }, 3000));
    EXPECT_EQ (*received, factoryPresetData());
    EXPECT_EQ (rig.controller->getPresetData(), SimulatedRig::distinctPreset());
    EXPECT_EQ (rig.dialogs.countAlerts ("MIDI Get Sucess"), 1);
}

TEST_F (CompareWithControllerTest, FailuresAreReportedAsAGetsAreAndShowNoCompare)
{
    // No devices.
    rig.controller->compareWithController();
    runMessageLoopFor (0);
    EXPECT_EQ (rig.dialogs.countAlerts ("No MIDI Device selected."), 1);

    // A silent device: the get's repeats, then its failure alert seven seconds on.
    rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
    rig.connect();
    rig.controller->compareWithController();
    int elapsed = 0;
    while (rig.timer->isRunning())
    {
        elapsed += rig.timer->getInterval();
        rig.timer->fire();
    }
    EXPECT_EQ (elapsed, 7000);
    EXPECT_EQ (rig.marlo->getRequestCount(), 9);
    EXPECT_EQ (rig.dialogs.countAlerts ("MIDI Get Preset Unsuccessful"), 1);

    // A reply whose preset has a byte out of range.
    rig.controller->compareWithController();
    auto invalid = factoryPresetData();
    invalid.set (2, 127); // keybed channel
    rig.receive (SimulatedRig::replyCarrying (invalid));
    ASSERT_TRUE (rig.waitForAlert ("Invalid MIDI Message"));

    EXPECT_EQ (compares, 0);
    EXPECT_EQ (rig.controller->getPresetData(), factoryPresetData());
}

TEST_F (CompareWithControllerTest, ASendIsToldWithItsOutputAndNoAlert)
{
    juce::StringArray sentTo;
    rig.controller->onSent = [&sentTo] (const juce::String& output) { sentTo.add (output); };

    rig.click ("Save To MIDI");
    EXPECT_TRUE (sentTo.isEmpty());
    EXPECT_EQ (rig.dialogs.countAlerts ("No MIDI Device selected."), 1);

    rig.connect();
    rig.click ("Save To MIDI");
    EXPECT_EQ (sentTo, juce::StringArray (SimulatedMarlo::deviceName));
    EXPECT_EQ (rig.dialogs.alertsShown().size(), 1u);
}
