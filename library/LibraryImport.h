#pragma once

#include "library/LibraryPreset.h"
#include "library/NumberedFile.h"

#include <string>
#include <unordered_set>
#include <vector>

/** Brings presets from files and folders into a library's group. Each preset becomes a new
    ".marlo" file named after the file it came from ("<name> 2" and on when the name is taken); a
    ".syx" file gives one per dump; a folder brings its subfolders along as groups. A preset whose
    bytes the library (or this import) already holds is skipped, and nothing is ever written
    over. Archives are not opened.
*/
class LibraryImport
{
public:
    struct Report
    {
        int imported = 0;
        /** Skipped as the same bytes as a preset the library held, or that this import brought. */
        int alreadyInLibrary = 0;
        /** A line for each file or preset not imported and why. */
        juce::StringArray notImported;
        juce::Array<juce::File> written;

        /** "Imported 95; 5 already in the library". */
        juce::String summary() const;
    };

    /** `library` is what the library holds now (for the duplicates); `group` the folder the
        presets go into. */
    LibraryImport (const std::vector<LibraryPreset>& library, juce::File group);

    /** Imports each file or folder; `report` gathers what happened across calls. */
    void importFile (const juce::File& source, Report& report);
    Report importAll (const juce::Array<juce::File>& sources);

private:
    void importInto (const juce::File& source, const juce::File& folder, Report& report);
    void importFolder (const juce::File& source, const juce::File& folder, Report& report);

    juce::File group;
    std::unordered_set<std::string> held;
    NumberedFile names;
};
