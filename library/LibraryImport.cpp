#include "library/LibraryImport.h"

#include "library/PresetDumps.h"
#include "library/PresetLibrary.h"

namespace
{
std::string keyOf (const PresetCodec::Image& image)
{
    return {reinterpret_cast<const char*> (image.begin()), static_cast<size_t> (image.size())};
}

bool isArchive (const juce::File& file)
{
    return file.hasFileExtension (".zip;.7z;.rar;.tar;.gz;.tgz;.bz2;.xz");
}

bool mayHoldPresets (const juce::File& file)
{
    return file.hasFileExtension (".marlo;.syx");
}
} // namespace

juce::String LibraryImport::Report::summary() const
{
    auto text = "Imported " + juce::String (imported);
    if (alreadyInLibrary > 0)
        text << "; " << alreadyInLibrary << " already in the library";
    return text;
}

LibraryImport::LibraryImport (const std::vector<LibraryPreset>& library, juce::File groupFolder)
    : group (std::move (groupFolder))
{
    held.reserve (library.size());
    for (const auto& preset : library)
        if (preset.isReadable())
            held.insert (keyOf (preset.image));
}

LibraryImport::Report LibraryImport::importAll (const juce::Array<juce::File>& sources)
{
    Report report;
    for (const auto& source : sources)
        importFile (source, report);
    return report;
}

void LibraryImport::importFile (const juce::File& source, Report& report)
{
    importInto (source, group, report);
}

void LibraryImport::importFolder (const juce::File& source, const juce::File& folder, Report& report)
{
    auto children =
        source.findChildFiles (juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, false);
    children.sort();
    for (const auto& child : children)
    {
        if (child.isDirectory())
        {
            if (!child.isSymbolicLink())
                importFolder (child, folder.getChildFile (child.getFileName()), report);
        }
        else if (mayHoldPresets (child) || isArchive (child))
            importInto (child, folder, report);
    }
}

void LibraryImport::importInto (const juce::File& source, const juce::File& folder, Report& report)
{
    if (source.isDirectory())
    {
        importFolder (source, folder.getChildFile (source.getFileName()), report);
        return;
    }
    if (isArchive (source))
    {
        report.notImported.add (source.getFullPathName() + ": archives are not read; unpack it first");
        return;
    }
    std::vector<PresetCodec::Image> presets;
    juce::StringArray skipped;
    if (const auto read = PresetDumps::read (source, presets, &skipped); read.failed())
    {
        report.notImported.add (source.getFullPathName() + ": " + read.getErrorMessage());
        return;
    }
    for (const auto& reason : skipped)
        report.notImported.add (source.getFullPathName() + ": " + reason);
    for (const auto& image : presets)
    {
        if (!held.insert (keyOf (image)).second)
        {
            ++report.alreadyInLibrary;
            continue;
        }
        juce::File written;
        const auto result = names.write (folder, source.getFileNameWithoutExtension(),
                                         PresetLibrary::extension, PresetCodec::encodeFile (image), written);
        if (result.failed())
        {
            held.erase (keyOf (image));
            report.notImported.add (written.getFullPathName() + ": " + result.getErrorMessage());
            continue;
        }
        ++report.imported;
        report.written.add (written);
    }
}
