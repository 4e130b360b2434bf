#pragma once

#include "preset/Dialogs.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <map>

/** The system's own dialogs: the framework's alert windows and the desktop's file choosers. */
class SystemDialogs final : public Dialogs
{
public:
    /** Makes them the dialogs the program uses when no replacement is installed. */
    static void install();

    void showAlert (const juce::String& title, const juce::String& message) override;
    void showOrUpdateAlert (const juce::String& title, const juce::String& message) override;
    bool isAlertShowing (const juce::String& title) const override;
    void showModalMessage (const juce::String& title, const juce::String& message) override;
    SaveAnswer askSaveQuestion (const juce::String& title, const juce::String& message) override;
    RecoveryAnswer askToRecover (const juce::String& title, const juce::String& message) override;
    std::optional<juce::File> chooseFileToOpen (const juce::String& title, const juce::File& startFolder,
                                                const juce::String& pattern) override;
    std::optional<juce::File> chooseFileToSave (const juce::String& title, const juce::File& startFolder,
                                                const juce::String& proposedName,
                                                const juce::String& pattern) override;

private:
    // The alerts that are kept single, by title; an alert deletes itself when dismissed.
    std::map<juce::String, juce::Component::SafePointer<juce::AlertWindow>> singleAlerts;
};
