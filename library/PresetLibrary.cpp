#include "library/PresetLibrary.h"

#include "library/PresetSummary.h"
#include "platform/UserFolders.h"
#include "preset/PresetFile.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace
{
struct Found
{
    juce::File file;
    juce::String name;
    juce::String group;
    juce::Time modified;
};

void collect (const juce::File& folder, const juce::String& group, std::vector<Found>& found)
{
    for (const auto& entry : juce::RangedDirectoryIterator (
             folder, false, "*", juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles))
    {
        const auto& file = entry.getFile();
        if (entry.isDirectory())
        {
            // A linked folder may lead back into the library, or out of it.
            if (!file.isSymbolicLink())
                collect (file, group.isEmpty() ? file.getFileName() : group + "/" + file.getFileName(),
                         found);
        }
        else if (file.getFileExtension().equalsIgnoreCase (PresetLibrary::extension))
            found.push_back ({file, file.getFileNameWithoutExtension(), group, entry.getModificationTime()});
    }
}

LibraryPreset readOne (const Found& found)
{
    LibraryPreset preset;
    preset.file = found.file;
    preset.name = found.name;
    preset.group = found.group;
    preset.modified = found.modified;
    const auto read = PresetFile::read (found.file, preset.image);
    if (read.failed())
    {
        preset.image.clear();
        preset.unreadable = read.getErrorMessage();
        // A reason always says something, so that an unreadable file is never taken for a read one.
        if (preset.unreadable.isEmpty())
            preset.unreadable = "unreadable";
        return preset;
    }
    preset.summary = PresetSummary::of (preset.image);
    return preset;
}
} // namespace

PresetLibrary::PresetLibrary (juce::File libraryFolder) : folder (std::move (libraryFolder)) {}

juce::File PresetLibrary::defaultFolder()
{
    return UserFolders::userDocuments().getChildFile ("Marlo Presets");
}

juce::Result PresetLibrary::makeFolder() const
{
    return folder.isDirectory() ? juce::Result::ok() : folder.createDirectory();
}

std::vector<LibraryPreset> PresetLibrary::read() const
{
    std::vector<Found> found;
    if (folder.isDirectory())
        collect (folder, {}, found);
    std::sort (found.begin(), found.end(),
               [] (const Found& a, const Found& b)
               {
                   if (const auto byGroup = a.group.compareNatural (b.group); byGroup != 0)
                       return byGroup < 0;
                   return a.name.compareNatural (b.name) < 0;
               });
    std::vector<LibraryPreset> presets;
    presets.reserve (found.size());
    for (const auto& each : found)
        presets.push_back (readOne (each));
    markDuplicates (presets);
    return presets;
}

void PresetLibrary::markDuplicates (std::vector<LibraryPreset>& presets)
{
    std::unordered_map<std::string, size_t> first;
    first.reserve (presets.size());
    for (size_t i = 0; i < presets.size(); ++i)
    {
        auto& preset = presets[i];
        preset.sameAs.clear();
        if (!preset.isReadable())
            continue;
        const std::string bytes (reinterpret_cast<const char*> (preset.image.begin()),
                                 static_cast<size_t> (preset.image.size()));
        const auto [where, added] = first.emplace (bytes, i);
        if (!added)
            preset.sameAs = presets[where->second].path();
    }
}
