#include "app/LaunchOptions.h"

LaunchOptions::LaunchOptions (const juce::String& commandLine)
{
    juce::StringArray arguments;
    arguments.addTokens (commandLine, " ", "\"");
    arguments.removeEmptyStrings();

    juce::StringArray rest;

    for (const auto& argument : arguments)
    {
        if (argument == simulatedDeviceOption)
            simulatedDevice = true;
        else
            rest.add (argument);
    }

    documentCommandLine = rest.joinIntoString (" ");
}

juce::String LaunchOptions::forHandOver (const juce::File& workingFolder) const
{
    const auto trimmed = documentCommandLine.trim();

    if (trimmed.isEmpty() || trimmed.startsWith ("-"))
        return trimmed;

    return workingFolder.getChildFile (trimmed.unquoted()).getFullPathName();
}
