#include "cli/LibraryCommands.h"

#include "cli/CommandInvocation.h"
#include "library/LibraryExport.h"
#include "library/LibraryImport.h"
#include "library/PresetDumps.h"
#include "library/PresetLibrary.h"
#include "library/SearchTerms.h"

#include <map>

namespace
{
using Code = PresetCommandLine::ExitCode;

/** A library's file as the user named the folder: "DIR/Drums/Kit.marlo". */
juce::String shownPath (const juce::String& folderArgument, const LibraryPreset& preset)
{
    return folderArgument + (folderArgument.endsWithChar ('/') ? "" : "/") + preset.path() +
           PresetLibrary::extension;
}

/** The library in DIR, or a complaint when DIR is no folder. */
bool readLibrary (CommandInvocation& invocation, const juce::String& argument,
                  std::vector<LibraryPreset>& presets)
{
    const auto folder = CommandInvocation::fileOf (argument);
    if (!folder.isDirectory())
    {
        invocation.complain (argument) << (folder.exists() ? "is not a folder" : "no such folder") << "\n";
        return false;
    }
    presets = PresetLibrary (folder).read();
    return true;
}

juce::var describe (const juce::String& path, const LibraryPreset& preset)
{
    auto object = std::make_unique<juce::DynamicObject>();
    object->setProperty ("file", path);
    object->setProperty ("name", preset.name);
    object->setProperty ("group", preset.group);
    object->setProperty ("modified", preset.modified.toISO8601 (true));
    object->setProperty ("sends", preset.summary);
    object->setProperty ("sameAs", preset.sameAs);
    return juce::var (object.release());
}
} // namespace

int LibraryCommands::search (CommandInvocation& invocation)
{
    const auto& files = invocation.arguments.files;
    const auto terms = SearchTerms::fromArguments (juce::StringArray (files.begin() + 1, files.size() - 1));
    if (terms.getStatus().failed())
        return invocation.refuseCall (terms.getStatus().getErrorMessage());
    std::vector<LibraryPreset> presets;
    if (!readLibrary (invocation, files[0], presets))
        return Code::usageOrFileError;

    const auto json = invocation.arguments.flags.contains ("--json");
    juce::Array<juce::var> described;
    int matching = 0;
    for (const auto& preset : presets)
    {
        const auto path = shownPath (files[0], preset);
        if (!preset.isReadable())
            invocation.complain (path) << preset.unreadable << "\n";
        else if (terms.matches (preset))
        {
            ++matching;
            if (json)
                described.add (describe (path, preset));
            else
                invocation.out << path << "\n";
        }
    }
    if (json)
        invocation.out << juce::JSON::toString (juce::var (described)) << "\n";
    return matching == 0 ? Code::negative : Code::success;
}

int LibraryCommands::importFiles (CommandInvocation& invocation)
{
    const auto& files = invocation.arguments.files;
    const PresetLibrary library (CommandInvocation::fileOf (files[0]));
    if (const auto made = library.makeFolder(); made.failed())
    {
        invocation.complain (files[0]) << made.getErrorMessage() << "\n";
        return Code::usageOrFileError;
    }
    juce::Array<juce::File> sources;
    for (int i = 1; i < files.size(); ++i)
        sources.add (CommandInvocation::fileOf (files[i]));
    const auto report = LibraryImport (library.read(), library.getFolder()).importAll (sources);
    for (const auto& line : report.notImported)
        invocation.complain() << line << "\n";
    invocation.out << report.summary() << "\n";
    return report.notImported.isEmpty() ? Code::success : Code::usageOrFileError;
}

int LibraryCommands::exportFiles (CommandInvocation& invocation)
{
    const auto& files = invocation.arguments.files;
    std::vector<PresetCodec::Image> presets;
    juce::StringArray names;
    for (int i = 1; i < files.size(); ++i)
    {
        const auto file = CommandInvocation::fileOf (files[i]);
        std::vector<PresetCodec::Image> found;
        if (const auto read = PresetDumps::read (file, found); read.failed())
        {
            invocation.complain (files[i]) << read.getErrorMessage() << "\n";
            return Code::usageOrFileError;
        }
        for (const auto& image : found)
        {
            presets.push_back (image);
            names.add (file.getFileNameWithoutExtension());
        }
    }
    const auto target = CommandInvocation::fileOf (files[0]);
    const auto written = target.isDirectory() ? LibraryExport::toFolder (presets, names, target)
                                              : LibraryExport::toSysEx (presets, target);
    if (written.failed())
    {
        invocation.complain (files[0]) << written.getErrorMessage() << "\n";
        return Code::usageOrFileError;
    }
    return Code::success;
}

int LibraryCommands::duplicates (CommandInvocation& invocation)
{
    const auto& folder = invocation.arguments.files[0];
    std::vector<LibraryPreset> presets;
    if (!readLibrary (invocation, folder, presets))
        return Code::usageOrFileError;
    // Each duplicate names the first of its group, which comes before it in the list.
    std::map<juce::String, juce::StringArray> groups;
    juce::StringArray order;
    for (const auto& preset : presets)
        if (preset.sameAs.isNotEmpty())
        {
            auto& group = groups[preset.sameAs];
            if (group.isEmpty())
            {
                order.add (preset.sameAs);
                group.add (folder + (folder.endsWithChar ('/') ? "" : "/") + preset.sameAs +
                           PresetLibrary::extension);
            }
            group.add (shownPath (folder, preset));
        }
    for (int i = 0; i < order.size(); ++i)
        invocation.out << (i > 0 ? "\n" : "") << groups[order[i]].joinIntoString ("\n") << "\n";
    return order.isEmpty() ? Code::success : Code::negative;
}
