#include "app/TerminationSignals.h"

#include <juce_core/juce_core.h>

#if JUCE_LINUX
#include <csignal>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>
#endif

namespace
{
#if JUCE_LINUX
void releaseAndEnd (int signalNumber)
{
    TerminationSignals::releaseOwnSharedMemory();
    // The handler was installed to run once; the signal, raised again, ends the process with the
    // status its sender expects.
    raise (signalNumber);
}
#endif
} // namespace

void TerminationSignals::install()
{
#if JUCE_LINUX
    struct sigaction action = {};
    action.sa_handler = releaseAndEnd;
    action.sa_flags = static_cast<int> (SA_RESETHAND);
    sigemptyset (&action.sa_mask);

    for (const auto signalNumber : {SIGTERM, SIGHUP})
    {
        // A signal the launcher chose to ignore (nohup ignores SIGHUP) stays ignored.
        struct sigaction current = {};
        sigaction (signalNumber, nullptr, &current);

        if (current.sa_handler != SIG_IGN)
            sigaction (signalNumber, &action, nullptr);
    }
#endif
}

void TerminationSignals::releaseOwnSharedMemory() noexcept
{
#if JUCE_LINUX
    const auto self = getpid();
    struct shm_info summary = {};
    const auto highestIndex = shmctl (0, SHM_INFO, reinterpret_cast<struct shmid_ds*> (&summary));

    for (int index = 0; index <= highestIndex; ++index)
    {
        struct shmid_ds segment = {};
        const auto id = shmctl (index, SHM_STAT, &segment);

        if (id >= 0 && segment.shm_cpid == self)
            shmctl (id, IPC_RMID, nullptr);
    }
#endif
}
