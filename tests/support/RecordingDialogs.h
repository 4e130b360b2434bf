#pragma once

#include "preset/Dialogs.h"

#include <deque>
#include <functional>
#include <vector>

/** Stands in for the user: records every alert and answers questions and choosers from queues.
    Installed for its lifetime. */
class RecordingDialogs final : public Dialogs
{
public:
    struct Shown
    {
        juce::String title;
        juce::String message;
    };

    RecordingDialogs() { Dialogs::set (this); }
    ~RecordingDialogs() override { Dialogs::set (nullptr); }

    void showAlert (const juce::String& title, const juce::String& message) override
    {
        const juce::ScopedLock lock (mutex);
        alerts.push_back ({title, message});
    }

    /** A single alert shows until dismissAlert; meanwhile its text is updated in place. */
    void showOrUpdateAlert (const juce::String& title, const juce::String& message) override
    {
        const juce::ScopedLock lock (mutex);
        if (showing.contains (title))
        {
            for (auto shown = alerts.rbegin(); shown != alerts.rend(); ++shown)
                if (shown->title == title)
                {
                    shown->message = message;
                    break;
                }
            return;
        }
        showing.add (title);
        alerts.push_back ({title, message});
    }

    bool isAlertShowing (const juce::String& title) const override
    {
        const juce::ScopedLock lock (mutex);
        return showing.contains (title);
    }

    void dismissAlert (const juce::String& title)
    {
        const juce::ScopedLock lock (mutex);
        showing.removeString (title);
    }

    void showModalMessage (const juce::String& title, const juce::String& message) override
    {
        modalMessages.push_back ({title, message});
    }

    SaveAnswer askSaveQuestion (const juce::String& title, const juce::String& message) override
    {
        questions.push_back ({title, message});
        if (whileDialogIsOpen != nullptr)
            whileDialogIsOpen();
        if (saveAnswers.empty())
            return SaveAnswer::cancel;
        const auto answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    RecoveryAnswer askToRecover (const juce::String& title, const juce::String& message) override
    {
        recoveryQuestions.push_back ({title, message});
        if (recoveryAnswers.empty())
            return RecoveryAnswer::later;
        const auto answer = recoveryAnswers.front();
        recoveryAnswers.pop_front();
        return answer;
    }

    std::optional<juce::File> chooseFileToOpen (const juce::String& title, const juce::File& startFolder,
                                                const juce::String& pattern) override
    {
        return choose (title, startFolder, pattern);
    }

    std::optional<juce::File> chooseFileToSave (const juce::String& title, const juce::File& startFolder,
                                                const juce::String& proposedName,
                                                const juce::String& pattern) override
    {
        proposedNames.push_back (proposedName);
        return choose (title, startFolder, pattern);
    }

    std::vector<Shown> alertsShown() const
    {
        const juce::ScopedLock lock (mutex);
        return alerts;
    }

    int countAlerts (const juce::String& title) const
    {
        int count = 0;
        for (const auto& alert : alertsShown())
            count += alert.title == title ? 1 : 0;
        return count;
    }

    void clear()
    {
        const juce::ScopedLock lock (mutex);
        alerts.clear();
    }

    std::deque<SaveAnswer> saveAnswers;
    std::deque<std::optional<juce::File>> chooserAnswers;
    std::vector<Shown> questions;
    std::deque<RecoveryAnswer> recoveryAnswers;
    std::vector<Shown> recoveryQuestions;
    std::vector<Shown> modalMessages;
    struct Chooser
    {
        juce::String title;
        juce::File startFolder;
        juce::String pattern;
    };
    std::vector<Chooser> choosersShown;
    std::vector<juce::String> proposedNames;
    /** Runs inside each chooser and question before it answers, as the system's dialogs run a
        message loop in which the user may still reach every window. */
    std::function<void()> whileDialogIsOpen;

private:
    std::optional<juce::File> choose (const juce::String& title, const juce::File& startFolder,
                                      const juce::String& pattern)
    {
        choosersShown.push_back ({title, startFolder, pattern});
        if (whileDialogIsOpen != nullptr)
            whileDialogIsOpen();
        if (chooserAnswers.empty())
            return std::nullopt;
        auto answer = chooserAnswers.front();
        chooserAnswers.pop_front();
        return answer;
    }

    juce::CriticalSection mutex;
    std::vector<Shown> alerts;
    juce::StringArray showing;
};
