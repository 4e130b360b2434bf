#pragma once

#include <juce_core/juce_core.h>

#include <cstdlib>

/** The process's environment, changed by a test for what the code under test reads from it. */
class Environment
{
public:
    static void set (const char* name, const char* value)
    {
#if JUCE_WINDOWS
        _putenv_s (name, value);
#else
        setenv (name, value, 1);
#endif
    }

    /** Takes the variable away (on Windows, an empty value is none). */
    static void unset (const char* name)
    {
#if JUCE_WINDOWS
        _putenv_s (name, "");
#else
        unsetenv (name);
#endif
    }
};
