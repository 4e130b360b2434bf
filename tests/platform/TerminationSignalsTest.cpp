#include <gtest/gtest.h>

#include "support/SystemUnderTest.h"

// Signals and System V shared memory, which only POSIX has, throughout.
#if MARLO_TESTS_HAVE_POSIX

#include "platform/TerminationSignals.h"

#include <csignal>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
int makeSegment()
{
    return shmget (IPC_PRIVATE, 4096, IPC_CREAT | 0600);
}

bool segmentExists (int id)
{
    struct shmid_ds segment = {};
    return shmctl (id, IPC_STAT, &segment) == 0;
}

struct Ending
{
    int segment = -1;
    int status = 0;
};

/** A child process makes and attaches a segment, as the framework does for a window, and is then
    sent the signal. Between fork and its end the child makes only system calls. */
Ending endChildWith (int signalNumber, bool withHandler)
{
    int channel[2];
    EXPECT_EQ (pipe (channel), 0);
    const auto child = fork();

    if (child == 0)
    {
        close (channel[0]);
        // The test process may have installed the handler already (an application test does).
        signal (SIGTERM, SIG_DFL);
        signal (SIGHUP, SIG_DFL);
        const auto id = makeSegment();
        shmat (id, nullptr, 0);

        if (withHandler)
            TerminationSignals::install();

        [[maybe_unused]] const auto written = write (channel[1], &id, sizeof (id));
        close (channel[1]);
        // A child that outlives the signal ends by itself after a while, so that the test fails
        // instead of waiting for it forever.
        for (int tick = 0; tick < 500; ++tick)
            usleep (10000);
        _exit (0);
    }

    close (channel[1]);
    Ending ending;
    EXPECT_EQ (read (channel[0], &ending.segment, sizeof (ending.segment)), (ssize_t)sizeof (int));
    close (channel[0]);
    kill (child, signalNumber);
    waitpid (child, &ending.status, 0);
    return ending;
}
} // namespace

TEST (TerminationSignalsTest, aSignalledEditorLeavesNoSharedMemoryBehindAndStillEndsByTheSignal)
{
    const auto unrelated = makeSegment();
    ASSERT_GE (unrelated, 0);

    for (const auto signalNumber : {SIGTERM, SIGHUP})
    {
        const auto ending = endChildWith (signalNumber, true);
        ASSERT_GE (ending.segment, 0);
        EXPECT_TRUE (WIFSIGNALED (ending.status) && WTERMSIG (ending.status) == signalNumber)
            << "signal " << signalNumber << ", status " << ending.status;
        EXPECT_FALSE (segmentExists (ending.segment)) << "signal " << signalNumber;
        shmctl (ending.segment, IPC_RMID, nullptr);
    }

    // Segments that another process made are not this process's to remove.
    EXPECT_TRUE (segmentExists (unrelated));
    shmctl (unrelated, IPC_RMID, nullptr);

    // Without the handler the segment outlives its process: what the handler is there for.
    const auto unhandled = endChildWith (SIGTERM, false);
    EXPECT_TRUE (segmentExists (unhandled.segment));
    shmctl (unhandled.segment, IPC_RMID, nullptr);
}

TEST (TerminationSignalsTest, ASignalTheLauncherIgnoresStaysIgnored)
{
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction hangUpBefore = {}, terminateBefore = {};
    sigaction (SIGHUP, &ignore, &hangUpBefore);
    sigaction (SIGTERM, nullptr, &terminateBefore);

    TerminationSignals::install();
    struct sigaction hangUp = {}, terminate = {};
    sigaction (SIGHUP, nullptr, &hangUp);
    sigaction (SIGTERM, nullptr, &terminate);

    sigaction (SIGHUP, &hangUpBefore, nullptr);
    sigaction (SIGTERM, &terminateBefore, nullptr);
    EXPECT_EQ (hangUp.sa_handler, SIG_IGN) << "a terminal closed under nohup must not end the editor";
    EXPECT_NE (terminate.sa_handler, SIG_IGN);
    EXPECT_NE (terminate.sa_handler, SIG_DFL);
}

#else

MARLO_SKIPPED_TEST (TerminationSignalsTest, aSignalledEditorLeavesNoSharedMemoryBehindAndStillEndsByTheSignal,
                    "signals and System V shared memory")
MARLO_SKIPPED_TEST (TerminationSignalsTest, ASignalTheLauncherIgnoresStaysIgnored, "signals")

#endif
