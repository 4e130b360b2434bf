#pragma once

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

/** Whether this test program runs as a Windows program under Wine rather than on Windows itself.
    Wine keeps its own settings under this key of every prefix; Windows has no such key. */
inline bool runsUnderWine()
{
#if JUCE_WINDOWS
    static const bool underWine = juce::WindowsRegistry::keyExists ("HKEY_LOCAL_MACHINE\\Software\\Wine");
    return underWine;
#else
    return false;
#endif
}

/** Skips the rest of a test under Wine, printing why: for what Wine does not do as Windows does. */
#define MARLO_SKIP_UNDER_WINE(reason)                                                                        \
    if (!runsUnderWine())                                                                                    \
    {                                                                                                        \
    }                                                                                                        \
    else                                                                                                     \
        GTEST_SKIP() << "Wine: " << (reason)
