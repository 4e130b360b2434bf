#include <gtest/gtest.h>

#include "support/SimulatedRig.h"

namespace
{
/** Drives the get's timer steps by hand, so the schedule is checked exactly, not by the clock. */
class RequestScheduleTest : public ::testing::Test
{
protected:
    RequestScheduleTest()
    {
        rig.connect();
        rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
    }

    /** Fires the timer as the framework would, recording the wait before each step. */
    std::vector<int> runTimerToTheEnd() { return rig.timer->fireUntilStopped(); }

    SimulatedRig rig;
};
} // namespace

TEST_F (RequestScheduleTest,
        NineRequestsOneSecondThenSevenHundredFiftyMillisecondsApartAndFailureAtSevenSeconds)
{
    rig.controller->requestPreset();
    EXPECT_EQ (rig.marlo->getRequestCount(), 1);

    const auto waits = runTimerToTheEnd();
    EXPECT_EQ (waits, (std::vector<int>{1000, 750, 750, 750, 750, 750, 750, 750, 750}));

    // Requests at 0, 1000, 1750 ... 6250 ms; the failure at the end of the last wait.
    int elapsed = 0;
    std::vector<int> requestTimes{0};
    for (size_t i = 0; i + 1 < waits.size(); ++i)
        requestTimes.push_back (elapsed += waits[i]);
    EXPECT_EQ (requestTimes.back(), 6250);
    EXPECT_EQ (elapsed + waits.back(), 7000);

    EXPECT_EQ (rig.marlo->getRequestCount(), 9);
    EXPECT_EQ (rig.dialogs.countAlerts ("MIDI Get Preset Unsuccessful"), 1);
    EXPECT_EQ (rig.dialogs.alertsShown().size(), 1u);
    EXPECT_FALSE (rig.controller->isAwaitingReply());
}

TEST_F (RequestScheduleTest, AGetWhoseOutputIsLostEndsWithOneMidiErrorAndNothingAfter)
{
    rig.controller->requestPreset();
    rig.timer->fire();
    EXPECT_EQ (rig.marlo->getRequestCount(), 2);

    // Device Setup applied something that left no output open (the simulated device goes with it).
    rig.midi.setPorts (std::make_unique<SimulatedMarlo>());
    rig.marlo = nullptr;
    ASSERT_FALSE (rig.midi.isOutputOpen());

    const auto waits = runTimerToTheEnd();
    EXPECT_EQ (waits.size(), 1u) << "the first repeat that finds no output ends the get";
    EXPECT_EQ (rig.dialogs.countAlerts ("MIDI Error"), 1);
    EXPECT_EQ (rig.dialogs.alertsShown().size(), 1u);
    EXPECT_FALSE (rig.controller->isAwaitingReply());

    // A get can start again once a device is chosen.
    rig.midi.setInputDevice (SimulatedMarlo::deviceName);
    rig.midi.setOutputDevice (SimulatedMarlo::deviceName);
    rig.controller->requestPreset();
    EXPECT_TRUE (rig.controller->isAwaitingReply());
}
