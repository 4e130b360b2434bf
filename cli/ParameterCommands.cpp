#include "cli/ParameterCommands.h"

#include "cli/CommandInvocation.h"
#include "cli/InterruptRequest.h"
#include "platform/FileLock.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetModel.h"
#include "preset/ShownValue.h"

namespace
{
using Code = PresetCommandLine::ExitCode;

/** The parameter a typed name means, whatever the case of its letters; an unknown name fails with
    the names nearest to it. */
juce::Result parameterNamed (const juce::String& typed, juce::String& name)
{
    if (const auto* entry = ParameterIndex::findIgnoringCase (typed))
    {
        name = entry->name;
        return juce::Result::ok();
    }
    auto problem = "there is no parameter \"" + typed + "\"";
    if (const auto nearest = ParameterIndex::nearest (typed, 3); !nearest.isEmpty())
        problem << " (the nearest: \"" << nearest.joinIntoString ("\", \"") << "\")";
    return juce::Result::fail (problem);
}

/** "1 to 16", or the modes of a mode selector; and which modes show it, where not all do. */
juce::String valuesOf (const ParameterIndex::Entry& entry)
{
    const auto& spec = entry.parameter->spec;
    if (entry.parameter->label == ControlSchema::modeLabel)
        return entry.schema->getModeNames().joinIntoString (", ");
    auto text = juce::String (spec.minimum) + " to " + juce::String (spec.maximum);
    juce::StringArray showing;
    for (const auto& mode : entry.schema->getModes())
        if (mode.labels.contains (entry.parameter->label))
            showing.add (mode.name);
    if (showing.size() < static_cast<int> (entry.schema->getModes().size()))
        text << " (when Mode is " << showing.joinIntoString (" or ") << ")";
    return text;
}

/** Applies one NAME=VALUE as the editor's box would take it. */
juce::Result assign (PresetModel& model, const juce::String& assignment)
{
    juce::String name;
    const auto text = assignment.fromFirstOccurrenceOf ("=", false, false);
    int stored = 0;
    auto result = parameterNamed (assignment.upToFirstOccurrenceOf ("=", false, false).trim(), name);
    if (result.wasOk())
        result = ShownValue::parse (name, text, stored);
    // The user can only type into a box that is on the screen: one the mode hides is not
    // there to edit, and writing it would change the byte of the box that is shown.
    if (result.wasOk() && !model.getShownNames().contains (name))
        result = juce::Result::fail (name + " is not shown in the current mode of its control");
    if (result.wasOk())
        result = model.setStoredValue (name, stored);
    return result;
}

/** Every assignment in order, then the whole image; the first refusal stops it. */
int assignAll (CommandInvocation& invocation, PresetModel& model)
{
    const auto& target = invocation.arguments.files[0];
    for (const auto& assignment : invocation.arguments.assignments)
    {
        if (!assignment.containsChar ('='))
        {
            invocation.complain() << "\"" << assignment << "\" is not NAME=VALUE; " << target
                                  << " is unchanged\n";
            return Code::usageOrFileError;
        }
        if (const auto result = assign (model, assignment); result.failed())
        {
            invocation.complain (target) << result.getErrorMessage() << "; the file is unchanged\n";
            return Code::negative;
        }
    }
    if (const auto checked = PresetCodec::checkImage (model.getImage()); checked.failed())
    {
        invocation.complain (target) << checked.getErrorMessage() << "; the file is unchanged\n";
        return Code::negative;
    }
    return Code::success;
}
} // namespace

int ParameterCommands::names (CommandInvocation& invocation)
{
    for (const auto& entry : ParameterIndex::all())
        invocation.out << entry.name << ": " << valuesOf (entry) << "\n";
    return Code::success;
}

int ParameterCommands::set (CommandInvocation& invocation)
{
    const auto& target = invocation.arguments.files[0];
    const auto file = CommandInvocation::fileOf (target);
    // Held from the read to the write, so that a set running at the same time on the same file
    // reads what this one wrote instead of writing over it.
    // A script may run many sets on one file; each waits its turn longer than a save in the editor.
    const FileLock lock (file, 30000, &InterruptRequest::wasRequested);
    if (InterruptRequest::wasRequested())
        return Code::interrupted;
    if (lock.getStatus().failed())
    {
        invocation.complain (target) << "cannot be locked: " << lock.getStatus().getErrorMessage() << "\n";
        return Code::usageOrFileError;
    }
    // Rewriting another program's file would drop everything in it but the preset.
    if (PresetFile::isForeign (file))
    {
        invocation.complain (target) << "is not a preset file; set writes only preset files: \""
                                     << PresetCommandLine::programName << " convert " << target
                                     << " NEW.marlo\" makes one\n";
        return Code::negative;
    }
    PresetModel model;
    if (!invocation.openDocument (target, model))
        return Code::usageOrFileError;
    if (const auto assigned = assignAll (invocation, model); assigned != Code::success)
        return assigned;
    if (InterruptRequest::wasRequested())
        return Code::interrupted;
    return invocation.writeAtomically (target, model.getImage()) ? Code::success : Code::usageOrFileError;
}
