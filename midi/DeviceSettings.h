#pragma once

#include "midi/MidiManager.h"

#include <juce_core/juce_core.h>

/** What the editor keeps between runs, each only when the user asks for it: the devices it opens
    when it starts, and each option that is on. The file holds separate entries; turning one off
    removes only its own, and the file goes when none is left, so that without it the editor
    starts with no device open and every option off.
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

    /** The options kept as entries of their own, each present only while it is on. */
    enum class Option
    {
        sendChanges,
        verifyAfterSending
    };

    bool isRemembering() const;
    /** Empty names when nothing is remembered or the file cannot be read (which is said once on
        stderr: a file nested without end, or of the wrong kind, never stops a start). */
    Devices load() const;
    bool remember (const Devices& devices);
    /** Removes the devices' entries, so that nothing is opened at the next start. */
    bool forget();

    /** Off when the file lacks the entry or cannot be read. */
    bool isOn (Option option) const;
    bool setOn (Option option, bool on);

    /** The library's folder: the remembered one, else `defaultFolder`. */
    juce::File libraryFolder (const juce::File& defaultFolder) const;
    /** Remembers the folder as an entry of its own, present only while it differs from the
        default. */
    bool setLibraryFolder (const juce::File& folder, const juce::File& defaultFolder);

    /** Opens the remembered devices by name; a device that is not there is left out silently. */
    void openRemembered (MidiManager& midiManager) const;
    /** The remembered names these lists do not hold. */
    static juce::StringArray absentDevices (const Devices& remembered, const juce::StringArray& inputs,
                                            const juce::StringArray& outputs);

    const juce::File& getFile() const noexcept { return file; }

private:
    /** The file's entries; empty when there is none or it cannot be read (said once). */
    juce::StringPairArray loadValues() const;
    /** Keeps the entries, or removes the file when none is left. */
    bool storeValues (const juce::StringPairArray& values);

    juce::File file;
    mutable bool reported = false;
};
