#pragma once

#include "preset/PresetCodec.h"
#include "preset/PresetFile.h"

#include <functional>
#include <juce_core/juce_core.h>

/** A document's preset files and the alerts that tell how reading or writing one went: a save
    that says why it failed, a load that changes nothing unless the whole preset is taken, and the
    note that a file of several presets shows its first.

    Message thread; the alerts go through the dialogs in use.
*/
class PresetFileFlow
{
public:
    /** Writes the 103-byte dump; false, after an alert naming the file and why, when the write
        failed. */
    static bool save (const juce::File& file, const PresetCodec::Image& image);

    /** Reads the file's preset and hands it to `apply`, which takes it whole or refuses it (false)
        without a change. On failure the reason is what "marlo-preset validate" prints for the
        file, and the "Invalid File" alert shows it under the file's path. `reading` tells what
        the file was. */
    static juce::Result load (const juce::File& file, PresetFile::Reading& reading,
                              const std::function<bool (const PresetCodec::Image&)>& apply);

    /** After a load from a file of several presets: says that its first is shown. */
    static void noteFurtherPresets (const juce::File& file, const PresetFile::Reading& reading);

    static void showInvalidFileAlert (const juce::File& file, const juce::String& reason);
    static void showSaveFailedAlert (const juce::File& file, const juce::String& reason);
};
