#include "cli/DeviceCommands.h"

#include "cli/CommandInvocation.h"
#include "cli/CommandTransfer.h"
#include "cli/InterruptRequest.h"
#include "midi/MidiManager.h"
#include "midi/PresetTransfer.h"
#include "midi/TransferAlerts.h"
#include "platform/FileLock.h"
#include "preset/PresetModel.h"

#include <optional>

namespace
{
using Code = PresetCommandLine::ExitCode;

/** Gets the controller's preset over an open transfer as a document that received it would load
    it. The editor's alerts go to the error stream: on success only when `reportSuccess`. */
std::optional<PresetModel> fetch (CommandTransfer& transfer, CommandInvocation& invocation,
                                  bool reportSuccess)
{
    std::optional<PresetTransfer::Result> result;
    transfer.transfer.onGetFinished = [&result] (const PresetTransfer::Result& r) { result = r; };
    transfer.transfer.get();
    invocation.environment.waitForTransfer (
        transfer.transfer, [&] { return result.has_value() || InterruptRequest::wasRequested(); });
    if (InterruptRequest::wasRequested())
        return std::nullopt;

    if (!result.has_value())
    {
        invocation.complain() << "the get did not finish\n";
        return std::nullopt;
    }
    PresetModel model;
    const auto loaded = result->outcome == PresetTransfer::Outcome::received ? model.load (result->image)
                                                                             : juce::Result::ok();
    const auto outcome = loaded.wasOk() ? result->outcome : PresetTransfer::Outcome::invalidReply;
    if (outcome != PresetTransfer::Outcome::received || reportSuccess)
        TransferAlerts::show (outcome);
    if (outcome != PresetTransfer::Outcome::received)
        return std::nullopt;
    return model;
}

std::optional<PresetModel> fetch (CommandInvocation& invocation, bool reportSuccess)
{
    CommandTransfer transfer (invocation);
    const auto& values = invocation.arguments.values;
    if (!transfer.open (values["--in"], true) || !transfer.open (values["--out"], false))
        return std::nullopt;
    return fetch (transfer, invocation, reportSuccess);
}
} // namespace

int DeviceCommands::ports (CommandInvocation& invocation)
{
    auto devices =
        invocation.environment.makePorts (invocation.arguments.flags.contains ("--simulated-device"));
    const auto inputs = devices->getInputNames();
    const auto outputs = devices->getOutputNames();
    for (const auto& name : inputs)
        invocation.out << "in: " << name << "\n";
    for (const auto& name : outputs)
        invocation.out << "out: " << name << "\n";
    if (inputs.isEmpty() && outputs.isEmpty())
        invocation.complain() << "there are no MIDI inputs or outputs\n";
    return Code::success;
}

int DeviceCommands::send (CommandInvocation& invocation)
{
    const auto verify = invocation.arguments.flags.contains ("--verify");
    if (verify != invocation.arguments.values.containsKey ("--in"))
        return invocation.refuseCall (verify ? "--verify needs --in NAME" : "--in is only for --verify");
    PresetModel model;
    if (!invocation.openDocument (invocation.arguments.files[0], model))
        return Code::usageOrFileError;

    CommandTransfer transfer (invocation);
    // The input opens first, so that nothing the controller says after the dump is missed.
    if ((verify && !transfer.open (invocation.arguments.values["--in"], true)) ||
        !transfer.open (invocation.arguments.values["--out"], false))
        return Code::negative;
    const auto outcome = transfer.transfer.send (model.getImage());
    TransferAlerts::show (outcome);
    if (outcome != PresetTransfer::Outcome::sent)
        return Code::negative;
    if (!verify)
        return Code::success;

    const auto inController = fetch (transfer, invocation, false);
    if (InterruptRequest::wasRequested())
        return Code::interrupted;
    if (!inController.has_value())
        return Code::negative;
    return invocation.printDifferences (model, *inController) == 0 ? Code::success : Code::negative;
}

int DeviceCommands::get (CommandInvocation& invocation)
{
    const auto& target = invocation.arguments.files[0];
    if (CommandInvocation::fileOf (target).isDirectory())
    {
        invocation.complain (target) << "is a folder\n";
        return Code::usageOrFileError;
    }
    const auto model = fetch (invocation, true);
    if (!model.has_value())
        return InterruptRequest::wasRequested() ? Code::interrupted : Code::negative;
    // Taken here, so that a Ctrl+C while the write waits for another's lock still writes nothing.
    const FileLock lock (CommandInvocation::fileOf (target), FileLock::defaultWaitMs,
                         &InterruptRequest::wasRequested);
    if (InterruptRequest::wasRequested())
        return Code::interrupted;
    return invocation.writeAtomically (target, model->getImage()) ? Code::success : Code::usageOrFileError;
}

int DeviceCommands::compare (CommandInvocation& invocation)
{
    PresetModel inFile;
    if (!invocation.openDocument (invocation.arguments.files[0], inFile))
        return Code::usageOrFileError;
    const auto inController = fetch (invocation, false);
    if (InterruptRequest::wasRequested())
        return Code::interrupted;
    if (!inController.has_value())
        return Code::negative;
    return invocation.printDifferences (inFile, *inController) == 0 ? Code::success : Code::negative;
}
