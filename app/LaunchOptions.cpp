#include "app/LaunchOptions.h"

#include "platform/ExactText.h"
#include "platform/SymbolicLinks.h"

namespace juce
{
// Kept by the framework as main received them.
extern const char* const* juce_argv;
extern int juce_argc;
} // namespace juce

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
    std::vector<std::string> arguments;

    for (int i = 1; i < juce::juce_argc && juce::juce_argv != nullptr; ++i)
        arguments.emplace_back (juce::juce_argv[i]);

    return arguments;
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
