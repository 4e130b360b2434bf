#pragma once

#include "library/LibraryPreset.h"

#include <vector>

/** A folder of ".marlo" files, each a preset; its subfolders are groups, nested as deep as they
    go. The folder is the whole truth (no index or database file beside it), so version control,
    file sync and the command-line tool work on it directly. Hidden folders (".git") and folders
    reached through a link are skipped, so a link cannot make the library list itself twice.
*/
class PresetLibrary
{
public:
    static constexpr const char* extension = ".marlo";

    explicit PresetLibrary (juce::File folder);

    /** "Marlo Presets" in the user's documents folder. It is only made when first used. */
    static juce::File defaultFolder();

    const juce::File& getFolder() const noexcept { return folder; }

    /** Makes the folder if it is missing. */
    juce::Result makeFolder() const;

    /** Every preset in the folder and its groups, sorted by group and then name, duplicates
        marked; a file that cannot be read is listed with the reason. A missing folder is an empty
        library. */
    std::vector<LibraryPreset> read() const;

    /** Marks each readable preset whose bytes equal those of one before it in `presets`. */
    static void markDuplicates (std::vector<LibraryPreset>& presets);

private:
    juce::File folder;
};
