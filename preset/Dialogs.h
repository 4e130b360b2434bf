#pragma once

#include <juce_core/juce_core.h>
#include <optional>

/** The one seam through which the program talks to the user: alerts, the save question and the
    file choosers. The system's own dialogs (set by the application, which has windows) are used
    unless a replacement is installed, which is how tests answer dialogs without a person.

    All calls are made on the message thread.
*/
class Dialogs
{
public:
    enum class SaveAnswer
    {
        yes,
        no,
        cancel
    };

    enum class RecoveryAnswer
    {
        recover,
        discard,
        later ///< Escape or no one to ask: nothing is decided, the presets are offered again
    };

    virtual ~Dialogs() = default;

    /** Asynchronous alert without icon and one "OK" button; the caller does not wait. */
    virtual void showAlert (const juce::String& title, const juce::String& message) = 0;

    /** An alert of which one shows at a time: while the one of this title still shows, its text
        becomes `message` instead of another alert stacking up over it. */
    virtual void showOrUpdateAlert (const juce::String& title, const juce::String& message)
    {
        showAlert (title, message);
    }

    /** Whether the alert of this title that showOrUpdateAlert put up still shows. */
    virtual bool isAlertShowing (const juce::String& title) const
    {
        juce::ignoreUnused (title);
        return false;
    }

    /** Modal message with one "OK" button; returns when it is dismissed. */
    virtual void showModalMessage (const juce::String& title, const juce::String& message) = 0;

    /** Modal question with "Yes", "No" and "Cancel"; Escape counts as Cancel. */
    virtual SaveAnswer askSaveQuestion (const juce::String& title, const juce::String& message) = 0;

    /** Modal question with "Recover" and "Discard". Dialogs without a person decide nothing. */
    virtual RecoveryAnswer askToRecover (const juce::String& title, const juce::String& message)
    {
        juce::ignoreUnused (title, message);
        return RecoveryAnswer::later;
    }

    /** Modal chooser; an empty optional when the user cancels. */
    virtual std::optional<juce::File> chooseFileToOpen (const juce::String& title,
                                                        const juce::File& startFolder,
                                                        const juce::String& pattern) = 0;

    /** Modal chooser with the overwrite warning on, offering proposedName (when not empty) in
        startFolder; an empty optional when the user cancels. */
    virtual std::optional<juce::File> chooseFileToSave (const juce::String& title,
                                                        const juce::File& startFolder,
                                                        const juce::String& proposedName,
                                                        const juce::String& pattern) = 0;

    /** The dialogs in use now. */
    static Dialogs& get();

    /** Installs a replacement (not owned; it must outlive its use); nullptr restores the system's. */
    static void set (Dialogs* replacement);

    /** Sets the system's dialogs (not owned). Until then there is nobody to ask: alerts go to the
        log, questions are cancelled and choosers choose nothing. */
    static void setSystem (Dialogs* system);
};
