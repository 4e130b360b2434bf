#include "app/LaunchOptions.h"

#include "platform/ExactText.h"
#include "platform/SymbolicLinks.h"
#include "platform/ThisProcess.h"

LaunchOptions::LaunchOptions (const std::vector<std::string>& arguments)
{
    bool documentArgumentSeen = false;

    for (const auto& argument : arguments)
    {
        if (argument == simulatedDeviceOption)
        {
            simulatedDevice = true;
            continue;
        }

        const auto text = ExactText::fromBytes (argument);

        if (!text.has_value())
            problems.add ("Not opened: the name " + ExactText::escaped (argument) + " is not UTF-8.");
        else if (documentArgumentSeen)
            problems.add ("Not opened: " + text->quoted() + " (one file per launch).");
        else
            documentArgument = *text;

        // A name that could not be taken still takes the place of the document: the editor must
        // not open another file instead of the one the user meant.
        documentArgumentSeen = true;
    }
}

std::vector<std::string> LaunchOptions::argumentsOfThisProcess()
{
    return ThisProcess::arguments();
}

bool LaunchOptions::namesAFile() const
{
    return documentArgument.isNotEmpty() && !documentArgument.startsWith ("-");
}

juce::String LaunchOptions::forHandOver (const juce::File& workingFolder) const
{
    if (!namesAFile())
        return documentArgument;

    return resolve (workingFolder, documentArgument).getFullPathName();
}

juce::File LaunchOptions::resolve (const juce::File& workingFolder, const juce::String& name)
{
    return SymbolicLinks::fileNamed (workingFolder, name);
}

juce::String LaunchOptions::fromFrameworkText (const juce::String& commandLine)
{
    if (commandLine.length() >= 2 && commandLine.startsWithChar ('"') && commandLine.endsWithChar ('"'))
        return commandLine.substring (1, commandLine.length() - 1);

    return commandLine;
}
