#include "platform/UserFolders.h"

namespace
{
/** The folder the system names in the environment for this user, else the one it keeps for it
    (the same, unless somebody set the variable, as a test does to keep its files apart). */
juce::File fromEnvironment (const char* variable, juce::File::SpecialLocationType otherwise)
{
    const auto named = juce::SystemStats::getEnvironmentVariable (variable, {});
    const auto isFullPath =
        (named.length() > 2 && named[1] == ':' && (named[2] == '\\' || named[2] == '/')) ||
        named.startsWith ("\\\\");
    return isFullPath ? juce::File (named) : juce::File::getSpecialLocation (otherwise);
}
} // namespace

juce::File UserFolders::state()
{
    // Local, not roaming: unsaved work belongs to the machine it was made on.
    return fromEnvironment ("LOCALAPPDATA", juce::File::windowsLocalAppData);
}

juce::File UserFolders::settings()
{
    return fromEnvironment ("APPDATA", juce::File::userApplicationDataDirectory);
}

juce::File UserFolders::documents()
{
    return juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);
}

juce::File UserFolders::userDocuments()
{
    return juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);
}
