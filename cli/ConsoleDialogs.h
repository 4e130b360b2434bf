#pragma once

#include "preset/Dialogs.h"

#include <juce_core/juce_core.h>

/** Dialogs for a program without windows: an alert becomes a line on the error stream, with the
    title and the text the editor would show; questions and choosers answer "cancel".
    Installed for its lifetime.
*/
class ConsoleDialogs final : public Dialogs
{
public:
    /** `prefix` starts each line, e.g. "marlo-preset: ". */
    ConsoleDialogs (juce::OutputStream& errorStream, const juce::String& prefix);
    ~ConsoleDialogs() override;

    void showAlert (const juce::String& title, const juce::String& message) override;
    void showModalMessage (const juce::String& title, const juce::String& message) override;
    SaveAnswer askSaveQuestion (const juce::String& title, const juce::String& message) override;
    std::optional<juce::File> chooseFileToOpen (const juce::String& title, const juce::File& startFolder,
                                                const juce::String& pattern) override;
    std::optional<juce::File> chooseFileToSave (const juce::String& title, const juce::File& startFolder,
                                                const juce::String& proposedName,
                                                const juce::String& pattern) override;

private:
    void print (const juce::String& title, const juce::String& message);

    juce::OutputStream& errors;
    juce::String linePrefix;
    Dialogs* previous;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ConsoleDialogs)
};
