#include "preset/Dialogs.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
class SystemDialogs final : public Dialogs
{
public:
    void showAlert (const juce::String& title, const juce::String& message) override
    {
        juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::NoIcon, title, message, "OK");
    }

    void showModalMessage (const juce::String& title, const juce::String& message) override
    {
        juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::NoIcon, title, message, "OK");
    }

    SaveAnswer askSaveQuestion (const juce::String& title, const juce::String& message) override
    {
        // showYesNoCancelBox returns 1 for the first button, 2 for the second and 0 for the
        // last one or Escape.
        const auto result = juce::AlertWindow::showYesNoCancelBox (
            juce::MessageBoxIconType::NoIcon, title, message, "Yes", "No", "Cancel", nullptr, nullptr);
        if (result == 1)
            return SaveAnswer::yes;
        if (result == 2)
            return SaveAnswer::no;
        return SaveAnswer::cancel;
    }

    RecoveryAnswer askToRecover (const juce::String& title, const juce::String& message) override
    {
        juce::AlertWindow window (title, message, juce::MessageBoxIconType::NoIcon);
        window.addButton ("Recover", 1, juce::KeyPress (juce::KeyPress::returnKey));
        window.addButton ("Discard", 2);
        // Escape returns 0: closing the question must not throw anybody's work away.
        window.setEscapeKeyCancels (true);
        const auto result = window.runModalLoop();
        if (result == 1)
            return RecoveryAnswer::recover;
        if (result == 2)
            return RecoveryAnswer::discard;
        return RecoveryAnswer::later;
    }

    std::optional<juce::File> chooseFileToOpen (const juce::String& title, const juce::File& startFolder,
                                                const juce::String& pattern) override
    {
        juce::FileChooser chooser (title, startFolder, pattern);
        if (chooser.browseForFileToOpen())
            return chooser.getResult();
        return std::nullopt;
    }

    std::optional<juce::File> chooseFileToSave (const juce::String& title, const juce::File& startFolder,
                                                const juce::String& proposedName,
                                                const juce::String& pattern) override
    {
        // Given a folder alone, the zenity chooser proposes the folder's own name as the file name.
        const auto start = proposedName.isNotEmpty() ? startFolder.getChildFile (proposedName) : startFolder;
        juce::FileChooser chooser (title, start, pattern);
        if (chooser.browseForFileToSave (true))
            return chooser.getResult();
        return std::nullopt;
    }
};

SystemDialogs& systemDialogs()
{
    static SystemDialogs dialogs;
    return dialogs;
}

Dialogs* replacementDialogs = nullptr;
} // namespace

Dialogs& Dialogs::get()
{
    if (replacementDialogs != nullptr)
        return *replacementDialogs;
    return systemDialogs();
}

void Dialogs::set (Dialogs* replacement)
{
    replacementDialogs = replacement;
}
