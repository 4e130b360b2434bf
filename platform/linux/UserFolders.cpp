#include "platform/UserFolders.h"

namespace
{
/** The folder an XDG variable names, else the default under the home folder. */
juce::File fromEnvironment (const char* variable, const char* underHome)
{
    const auto named = juce::SystemStats::getEnvironmentVariable (variable, {});
    // The standard allows only an absolute path here; anything else means the default.
    return juce::File::isAbsolutePath (named)
               ? juce::File (named)
               : juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (underHome);
}
} // namespace

juce::File UserFolders::state()
{
    return fromEnvironment ("XDG_STATE_HOME", ".local/state");
}

juce::File UserFolders::settings()
{
    return fromEnvironment ("XDG_CONFIG_HOME", ".config");
}

juce::File UserFolders::documents()
{
    return juce::File::getSpecialLocation (juce::File::userHomeDirectory);
}

juce::File UserFolders::userDocuments()
{
    return juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);
}
