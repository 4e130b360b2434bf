#pragma once

#include <juce_core/juce_core.h>

#include <csignal>

/** Ctrl+C as the terminal sends it, to this process alone where the system can: on Windows the
    console sends it to every process attached to it, the test's runner too, so it is not sent. */
class CtrlC
{
public:
    static bool canBeSentToThisProcess()
    {
#if JUCE_WINDOWS
        return false;
#else
        return true;
#endif
    }

    static void sendToThisProcess()
    {
#if !JUCE_WINDOWS
        std::raise (SIGINT);
#endif
    }
};
