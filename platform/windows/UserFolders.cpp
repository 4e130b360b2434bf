#include "platform/UserFolders.h"

juce::File UserFolders::state()
{
    // Local, not roaming: unsaved work belongs to the machine it was made on.
    return juce::File::getSpecialLocation (juce::File::windowsLocalAppData);
}

juce::File UserFolders::settings()
{
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
}

juce::File UserFolders::documents()
{
    return juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);
}
