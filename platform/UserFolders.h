#pragma once

#include <juce_core/juce_core.h>

/** Where the system wants a user's programs to keep things: each program's own folder is made
    inside the one given here.
*/
class UserFolders final
{
public:
    UserFolders() = delete;

    /** What a program keeps across its starts and the user never opens (unsaved work to recover):
        $XDG_STATE_HOME, by default ~/.local/state, on Linux; %LOCALAPPDATA% on Windows. */
    static juce::File state();

    /** The user's settings: $XDG_CONFIG_HOME, by default ~/.config, on Linux; %APPDATA% (which
        roams with the user) on Windows. */
    static juce::File settings();

    /** Where choosing a preset file starts: the home folder on Linux, Documents on Windows. */
    static juce::File documents();

    /** The user's own documents folder, where a program's documents of its own go: the one
        `user-dirs.dirs` names as XDG_DOCUMENTS_DIR, by default ~/Documents, on Linux; Documents on
        Windows. */
    static juce::File userDocuments();
};
