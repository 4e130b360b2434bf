#include "cli/FileCommands.h"

#include "cli/CommandInvocation.h"
#include "cli/PresetCommandLine.h"
#include "platform/FileIdentity.h"
#include "preset/PresetDifference.h"
#include "preset/PresetFile.h"
#include "preset/PresetModel.h"
#include "preset/ShownValue.h"

namespace
{
using Code = PresetCommandLine::ExitCode;
} // namespace

int FileCommands::newFile (CommandInvocation& invocation)
{
    const auto& target = invocation.arguments.files[0];
    if (CommandInvocation::fileOf (target).exists())
    {
        invocation.complain (target) << "already exists; it is left as it is\n";
        return Code::usageOrFileError;
    }
    return invocation.writeAtomically (target, PresetModel().getImage()) ? Code::success
                                                                         : Code::usageOrFileError;
}

int FileCommands::show (CommandInvocation& invocation)
{
    PresetModel model;
    if (!invocation.openDocument (invocation.arguments.files[0], model))
        return Code::usageOrFileError;

    auto& out = invocation.out;
    if (invocation.arguments.flags.contains ("--json"))
    {
        auto object = std::make_unique<juce::DynamicObject>();
        for (const auto& name : model.getShownNames())
            object->setProperty (name, ShownValue::of (model, name));
        out << juce::JSON::toString (juce::var (object.release())) << "\n";
        return Code::success;
    }
    for (const auto& name : model.getShownNames())
        out << name << " = " << PresetDifference::textOf (ShownValue::of (model, name)) << "\n";
    return Code::success;
}

int FileCommands::validate (CommandInvocation& invocation)
{
    int code = Code::success;
    for (const auto& argument : invocation.arguments.files)
    {
        PresetCodec::Image image;
        PresetFile::Reading reading;
        const auto result = invocation.readPreset (argument, image, reading);
        if (result.wasOk())
            continue;
        invocation.out << argument << ": " << result.getErrorMessage() << "\n";
        code = juce::jmax (code,
                           static_cast<int> (reading.unreadable ? Code::usageOrFileError : Code::negative));
    }
    return code;
}

int FileCommands::diff (CommandInvocation& invocation)
{
    const auto& files = invocation.arguments.files;
    PresetModel a, b;
    if (!invocation.openDocument (files[0], a) || !invocation.openDocument (files[1], b))
        return Code::usageOrFileError;
    return invocation.printDifferences (a, b) == 0 ? Code::success : Code::negative;
}

int FileCommands::convert (CommandInvocation& invocation)
{
    // A preset file is the dump message itself, so both kinds take the same bytes; the extension
    // says which the user meant, and anything else is more likely a slip than a wish.
    const auto& source = invocation.arguments.files[0];
    const auto& target = invocation.arguments.files[1];
    const auto extension = CommandInvocation::fileOf (target).getFileExtension().toLowerCase();
    if (extension != ".marlo" && extension != ".syx")
    {
        invocation.complain (target)
            << "OUT must end in \".marlo\" (a preset file) or \".syx\" (the dump message)\n";
        return Code::usageOrFileError;
    }
    // Written onto itself, another program's file would keep only its preset, as set would make it.
    if (FileIdentity::sameFile (CommandInvocation::fileOf (source), CommandInvocation::fileOf (target)))
    {
        invocation.complain (target) << "is IN itself; convert writes a new file and leaves IN as it is\n";
        return Code::negative;
    }
    PresetModel model;
    if (!invocation.openDocument (source, model))
        return Code::usageOrFileError;
    return invocation.writeAtomically (target, model.getImage()) ? Code::success : Code::usageOrFileError;
}
