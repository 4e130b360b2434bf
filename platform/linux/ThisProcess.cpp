#include "platform/ThisProcess.h"

#include <unistd.h>

namespace juce
{
// Kept by the framework as main received them.
extern const char* const* juce_argv;
extern int juce_argc;
} // namespace juce

juce::int64 ThisProcess::id()
{
    return static_cast<juce::int64> (::getpid());
}

juce::String ThisProcess::user()
{
    return juce::String (static_cast<juce::int64> (::getuid()));
}

std::vector<std::string> ThisProcess::arguments()
{
    std::vector<std::string> arguments;
    for (int i = 1; i < juce::juce_argc && juce::juce_argv != nullptr; ++i)
        arguments.emplace_back (juce::juce_argv[i]);
    return arguments;
}
