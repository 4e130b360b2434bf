// The editor's arguments as the framework keeps them on Linux (juce_argc and juce_argv, which
// LaunchOptions reads to see each name's bytes as they were given). On Windows the framework keeps
// none: its WinMain is handed the command line as one text. Here the wide command line is split as
// Windows splits it and each argument kept as UTF-8, which a Windows name always spells exactly.

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

// Windows' own headers first, then those that build on them.
#include <windows.h>

#include <shellapi.h>

namespace
{
struct ProcessArguments
{
    ProcessArguments()
    {
        int count = 0;
        if (auto** wide = CommandLineToArgvW (GetCommandLineW(), &count))
        {
            for (int i = 0; i < count; ++i)
                texts.push_back (juce::String (juce::CharPointer_UTF16 (wide[i])).toStdString());
            LocalFree (wide);
        }
        for (const auto& text : texts)
            pointers.push_back (text.c_str());
    }

    std::vector<std::string> texts;
    std::vector<const char*> pointers;
};

const ProcessArguments& processArguments()
{
    static const ProcessArguments arguments;
    return arguments;
}
} // namespace

namespace juce
{
const char* const* juce_argv = processArguments().pointers.data();
int juce_argc = static_cast<int> (processArguments().pointers.size());
} // namespace juce
