#include "cli/ConsoleDialogs.h"

ConsoleDialogs::ConsoleDialogs (juce::OutputStream& errorStream, const juce::String& prefix)
    : errors (errorStream), linePrefix (prefix), previous (&Dialogs::get())
{
    Dialogs::set (this);
}

ConsoleDialogs::~ConsoleDialogs()
{
    // The dialogs in use before (a test's recorder) come back; the system's have no identity to
    // restore, so they are reinstated by clearing the replacement.
    Dialogs::set (nullptr);
    if (previous != &Dialogs::get())
        Dialogs::set (previous);
}

void ConsoleDialogs::print (const juce::String& title, const juce::String& message)
{
    // Alerts break their text with "\r\n" for the window; one line reads better in a terminal.
    errors << linePrefix << title << ": " << message.replace ("\r\n", " ").replace ("\n", " ").trimEnd()
           << "\n";
    errors.flush();
}

void ConsoleDialogs::showAlert (const juce::String& title, const juce::String& message)
{
    print (title, message);
}

void ConsoleDialogs::showModalMessage (const juce::String& title, const juce::String& message)
{
    print (title, message);
}

Dialogs::SaveAnswer ConsoleDialogs::askSaveQuestion (const juce::String& title, const juce::String& message)
{
    print (title, message);
    return SaveAnswer::cancel;
}

std::optional<juce::File> ConsoleDialogs::chooseFileToOpen (const juce::String&, const juce::File&,
                                                            const juce::String&)
{
    return std::nullopt;
}

std::optional<juce::File> ConsoleDialogs::chooseFileToSave (const juce::String&, const juce::File&,
                                                            const juce::String&, const juce::String&)
{
    return std::nullopt;
}
