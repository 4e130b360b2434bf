#include "platform/ThisProcess.h"

#include <unistd.h>

juce::int64 ThisProcess::id()
{
    return static_cast<juce::int64> (::getpid());
}

juce::String ThisProcess::user()
{
    return juce::String (static_cast<juce::int64> (::getuid()));
}
