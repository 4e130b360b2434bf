#include "editor/SystemDialogs.h"

#include "editor/DialogLook.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

void SystemDialogs::install()
{
    static SystemDialogs dialogs;
    Dialogs::setSystem (&dialogs);
}

void SystemDialogs::showAlert (const juce::String& title, const juce::String& message)
{
    juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::NoIcon, title, message, "OK");
}

void SystemDialogs::showOrUpdateAlert (const juce::String& title, const juce::String& message)
{
    if (auto* shown = singleAlerts[title].getComponent())
    {
        shown->setMessage (message);
        return;
    }
    // As showMessageBoxAsync makes it, but kept, so that its text can change while it shows.
    auto* alert = new juce::AlertWindow (title, message, juce::MessageBoxIconType::NoIcon);
    alert->addButton ("OK", 1, juce::KeyPress (juce::KeyPress::returnKey),
                      juce::KeyPress (juce::KeyPress::escapeKey));
    singleAlerts[title] = alert;
    alert->enterModalState (true, nullptr, true);
}

bool SystemDialogs::isAlertShowing (const juce::String& title) const
{
    const auto found = singleAlerts.find (title);
    return found != singleAlerts.end() && found->second != nullptr;
}

void SystemDialogs::showModalMessage (const juce::String& title, const juce::String& message)
{
    juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::NoIcon, title, message, "OK");
}

Dialogs::SaveAnswer SystemDialogs::askSaveQuestion (const juce::String& title, const juce::String& message)
{
    // The question showYesNoCancelBox asks, made as it makes it (its layout and its keys 'y', 'n'
    // and Escape); only its buttons are drawn in a look that shows which one holds the keyboard.
    // It returns 1 for the first button, 2 for the second and 0 for the last one or Escape.
    DialogLook buttonLook;
    const std::unique_ptr<juce::AlertWindow> window (
        juce::LookAndFeel::getDefaultLookAndFeel().createAlertWindow (
            title, message, "Yes", "No", "Cancel", juce::MessageBoxIconType::NoIcon, 3, nullptr));
    for (auto* child : window->getChildren())
        if (auto* button = dynamic_cast<juce::Button*> (child))
            button->setLookAndFeel (&buttonLook);
    const auto result = window->runModalLoop();
    if (result == 1)
        return SaveAnswer::yes;
    if (result == 2)
        return SaveAnswer::no;
    return SaveAnswer::cancel;
}

Dialogs::RecoveryAnswer SystemDialogs::askToRecover (const juce::String& title, const juce::String& message)
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

std::optional<juce::File> SystemDialogs::chooseFileToOpen (const juce::String& title,
                                                           const juce::File& startFolder,
                                                           const juce::String& pattern)
{
    juce::FileChooser chooser (title, startFolder, pattern);
    if (chooser.browseForFileToOpen())
        return chooser.getResult();
    return std::nullopt;
}

std::optional<juce::File> SystemDialogs::chooseFileToSave (const juce::String& title,
                                                           const juce::File& startFolder,
                                                           const juce::String& proposedName,
                                                           const juce::String& pattern)
{
    // Given a folder alone, the zenity chooser proposes the folder's own name as the file name.
    const auto start = proposedName.isNotEmpty() ? startFolder.getChildFile (proposedName) : startFolder;
    juce::FileChooser chooser (title, start, pattern);
    if (chooser.browseForFileToSave (true))
        return chooser.getResult();
    return std::nullopt;
}
