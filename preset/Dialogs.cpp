#include "preset/Dialogs.h"

namespace
{
/** What a program without windows has until it installs dialogs of its own: nobody to ask. An
    alert goes to the log, questions are cancelled and choosers choose nothing. */
class NoOneToAsk final : public Dialogs
{
public:
    void showAlert (const juce::String& title, const juce::String& message) override
    {
        juce::Logger::writeToLog (title + ": " + message);
    }

    void showModalMessage (const juce::String& title, const juce::String& message) override
    {
        showAlert (title, message);
    }

    SaveAnswer askSaveQuestion (const juce::String&, const juce::String&) override
    {
        return SaveAnswer::cancel;
    }

    std::optional<juce::File> chooseFileToOpen (const juce::String&, const juce::File&,
                                                const juce::String&) override
    {
        return std::nullopt;
    }

    std::optional<juce::File> chooseFileToSave (const juce::String&, const juce::File&, const juce::String&,
                                                const juce::String&) override
    {
        return std::nullopt;
    }
};

Dialogs* systemDialogs = nullptr;
Dialogs* replacementDialogs = nullptr;
} // namespace

Dialogs& Dialogs::get()
{
    if (replacementDialogs != nullptr)
        return *replacementDialogs;
    if (systemDialogs != nullptr)
        return *systemDialogs;
    static NoOneToAsk noOne;
    return noOne;
}

void Dialogs::set (Dialogs* replacement)
{
    replacementDialogs = replacement;
}

void Dialogs::setSystem (Dialogs* system)
{
    systemDialogs = system;
}
