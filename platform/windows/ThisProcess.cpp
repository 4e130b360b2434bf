#include "platform/ThisProcess.h"

#include "WindowsSystem.h"

#include <shellapi.h>

juce::int64 ThisProcess::id()
{
    return static_cast<juce::int64> (GetCurrentProcessId());
}

juce::String ThisProcess::user()
{
    // The security identifier: the login name may be renamed, this never is.
    return WindowsSystem::userText();
}

std::vector<std::string> ThisProcess::arguments()
{
    // The framework keeps no arguments on Windows, where the program is handed its command line as
    // one text: it is split as Windows splits it.
    std::vector<std::string> arguments;
    int count = 0;
    if (auto** wide = CommandLineToArgvW (GetCommandLineW(), &count))
    {
        for (int i = 1; i < count; ++i)
            arguments.push_back (juce::String (juce::CharPointer_UTF16 (wide[i])).toStdString());
        LocalFree (wide);
    }
    return arguments;
}
