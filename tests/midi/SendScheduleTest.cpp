#include <gtest/gtest.h>

#include "midi/SendSchedule.h"

TEST (SendScheduleTest, APauseSendsAndAStreamOfChangesStillGoesOutWithinTheBound)
{
    SendSchedule schedule;
    EXPECT_FALSE (schedule.dueAt().has_value());

    schedule.changed (1000.0);
    schedule.changed (1100.0);
    EXPECT_EQ (*schedule.dueAt(), 1250.0) << "a pause after the last change";
    EXPECT_FALSE (schedule.isDue (1249.0));

    schedule.changed (1200.0);
    EXPECT_EQ (*schedule.dueAt(), 1300.0) << "never later than the bound after the first change";
    EXPECT_TRUE (schedule.isDue (1300.0));

    schedule.sent (1300.0, 103);
    EXPECT_FALSE (schedule.isWaiting());
    schedule.changed (1301.0);
    EXPECT_EQ (*schedule.dueAt(), 1451.0) << "the bound starts again at the first change after a send";
}

TEST (SendScheduleTest, TheNextDumpWaitsForTheWireAndAClearedChangeIsNotSent)
{
    SendSchedule schedule;
    schedule.sent (0.0, 103);
    EXPECT_NEAR (schedule.wireFreeAt(), 32.96, 1e-9);

    // A second send before the wire is free queues behind the first on the cable.
    schedule.sent (10.0, 103);
    EXPECT_NEAR (schedule.wireFreeAt(), 65.92, 1e-9);

    SendSchedule slowWire;
    slowWire.sent (0.0, 1000);
    slowWire.changed (1.0);
    EXPECT_NEAR (*slowWire.dueAt(), 320.0, 1e-9) << "a pause that ends while the dump is on the wire";

    slowWire.clear();
    EXPECT_FALSE (slowWire.isDue (10000.0));
}
