#pragma once

#include <juce_core/juce_core.h>
#include <string>
#include <vector>

/** What the command line asks for: the simulated device, and what is left for the documents
    (a file to open, or an argument beginning with "-" for a new document).

    Arguments are taken one by one as the system passed them, never from the framework's joined
    command line, which adds quotes of its own and so cannot tell them from a name's own quotes.
    A name stays exactly as given, quotes and spaces included.
*/
class LaunchOptions
{
public:
    static constexpr const char* simulatedDeviceOption = "--simulated-device";

    /** The arguments after the program's name, as bytes: a name need not be UTF-8. */
    explicit LaunchOptions (const std::vector<std::string>& arguments);

    /** This process's own arguments after the program's name. */
    static std::vector<std::string> argumentsOfThisProcess();

    bool wantsSimulatedDevice() const noexcept { return simulatedDevice; }
    /** The first argument other than the options this class takes: a file's name, one beginning
        with "-", or empty. Empty too when that argument could not be taken (see getProblems). */
    const juce::String& getDocumentArgument() const noexcept { return documentArgument; }
    /** Whether the document argument names a file. */
    bool namesAFile() const;
    /** Lines for the user about arguments that are not used, each naming the argument. */
    const juce::StringArray& getProblems() const noexcept { return problems; }

    /** The document argument as another process must see it: a file's name made absolute against
        this process's working folder, which the running instance does not share. */
    juce::String forHandOver (const juce::File& workingFolder) const;

    /** The file a name stands for, resolved against the working folder by the name's text alone
        (a leading "~" is part of the name, not somebody's home folder). */
    static juce::File resolve (const juce::File& workingFolder, const juce::String& name);

    /** The file argument in the framework's joined command line, which puts double quotes around
        an argument with a space in it; on Linux only tests and other hosts pass one. */
    static juce::String fromFrameworkText (const juce::String& commandLine);

private:
    bool simulatedDevice = false;
    juce::String documentArgument;
    juce::StringArray problems;
};
