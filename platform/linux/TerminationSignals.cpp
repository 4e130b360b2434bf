#include "platform/TerminationSignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <thread>
#include <unistd.h>

namespace
{
void releaseAndEnd (int signalNumber)
{
    TerminationSignals::releaseOwnSharedMemory();
    // The handler was installed to run once; the signal, raised again, ends the process with the
    // status its sender expects.
    raise (signalNumber);
}

// What the handler tells the thread that ends the process; written once, before the handler.
int lastWordsPipe[2] = {-1, -1};
std::function<void()> lastWordsToSay;

void passToLastWords (int signalNumber)
{
    const auto byte = static_cast<unsigned char> (signalNumber);
    if (write (lastWordsPipe[1], &byte, 1) != 1)
        releaseAndEnd (signalNumber);
}

void endAfterLastWords()
{
    unsigned char byte = 0;
    for (;;)
    {
        const auto result = read (lastWordsPipe[0], &byte, 1);
        if (result == 1)
            break;
        if (result < 0 && errno == EINTR)
            continue;
        return;
    }

    if (lastWordsToSay != nullptr)
        lastWordsToSay();

    const int signalNumber = byte;
    TerminationSignals::releaseOwnSharedMemory();
    signal (signalNumber, SIG_DFL);
    kill (getpid(), signalNumber);
}

void installHandler (void (*handler) (int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
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
}
} // namespace

void TerminationSignals::install()
{
    installHandler (releaseAndEnd);
}

void TerminationSignals::install (std::function<void()> lastWords)
{
    if (lastWordsPipe[0] >= 0 || pipe2 (lastWordsPipe, O_CLOEXEC) != 0)
    {
        install();
        return;
    }
    lastWordsToSay = std::move (lastWords);
    // Blocked in a read until a signal comes; the process ends without joining it.
    std::thread (endAfterLastWords).detach();
    installHandler (passToLastWords);
}

void TerminationSignals::releaseOwnSharedMemory() noexcept
{
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
}
