#include "platform/ThisProcess.h"

#include "WindowsSystem.h"

juce::int64 ThisProcess::id()
{
    return static_cast<juce::int64> (GetCurrentProcessId());
}

juce::String ThisProcess::user()
{
    // The security identifier: the login name may be renamed, this never is.
    return WindowsSystem::userText();
}
