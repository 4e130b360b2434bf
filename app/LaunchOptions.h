#pragma once

#include <juce_core/juce_core.h>

/** What the command line asks for: the simulated device, and what is left for the documents
    (a file to open, or an argument beginning with "-" for a new document). */
class LaunchOptions
{
public:
    static constexpr const char* simulatedDeviceOption = "--simulated-device";

    explicit LaunchOptions (const juce::String& commandLine);

    bool wantsSimulatedDevice() const noexcept { return simulatedDevice; }
    /** The command line without the options this class takes. */
    const juce::String& getDocumentCommandLine() const noexcept { return documentCommandLine; }

    /** The command line as another process must see it: a file argument made absolute against
        this process's working folder, which the running instance does not share. */
    juce::String forHandOver (const juce::File& workingFolder) const;

private:
    bool simulatedDevice = false;
    juce::String documentCommandLine;
};
