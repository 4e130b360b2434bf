#pragma once

#include "midi/MidiManager.h"

#include <juce_core/juce_core.h>

/** The devices the editor opens when it starts, kept only when the user asks for it: while the
    file exists the choice is remembered, and without it the editor starts with no device open.
*/
class DeviceSettings
{
public:
    /** The names a start opens; either may be empty. */
    struct Devices
    {
        juce::String input;
        juce::String output;
    };

    explicit DeviceSettings (juce::File settingsFile);

    /** `$XDG_CONFIG_HOME/orvane-marlo-editor/settings.xml` (default `~/.config/...`; on Windows
        under %APPDATA%); with
        MARLO_EDITOR_INSTANCE set, a file of that instance's own beside it. */
    static juce::File defaultFile();

    bool isRemembering() const { return file.existsAsFile(); }
    /** Empty names when nothing is remembered or the file cannot be read (which is said once on
        stderr: a file nested without end, or of the wrong kind, never stops a start). */
    Devices load() const;
    bool remember (const Devices& devices);
    /** Removes the file, so that nothing is opened at the next start. */
    bool forget();

    /** Opens the remembered devices by name; a device that is not there is left out silently. */
    void openRemembered (MidiManager& midiManager) const;
    /** The remembered names these lists do not hold. */
    static juce::StringArray absentDevices (const Devices& remembered, const juce::StringArray& inputs,
                                            const juce::StringArray& outputs);

    const juce::File& getFile() const noexcept { return file; }

private:
    juce::File file;
    mutable bool reported = false;
};
