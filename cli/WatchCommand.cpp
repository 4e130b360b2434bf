#include "cli/WatchCommand.h"

#include "cli/CommandInvocation.h"
#include "cli/CommandTransfer.h"
#include "cli/InterruptRequest.h"
#include "cli/WatchedFileSender.h"
#include "preset/PresetModel.h"

int WatchCommand::run (CommandInvocation& invocation)
{
    using Code = PresetCommandLine::ExitCode;
    const auto& arguments = invocation.arguments;
    const auto verify = arguments.flags.contains ("--verify");
    if (verify && !arguments.values.containsKey ("--in"))
        return invocation.refuseCall ("--verify needs --in NAME");
    // A file that cannot be read at the start is a mistake in the call, not a save in progress.
    PresetModel model;
    if (!invocation.openDocument (arguments.files[0], model))
        return Code::usageOrFileError;

    CommandTransfer link (invocation);
    if ((arguments.values.containsKey ("--in") && !link.open (arguments.values["--in"], true)) ||
        !link.open (arguments.values["--out"], false))
        return Code::negative;

    WatchedFileSender sender (CommandInvocation::fileOf (arguments.files[0]), link.transfer, verify);
    sender.onReport = [&invocation] (const juce::String& line)
    {
        invocation.out << line << "\n";
        invocation.out.flush();
    };
    sender.onUnreadable = [&invocation, name = arguments.files[0]] (const juce::String& reason)
    { invocation.complain (name) << reason << "; waiting for it to change\n"; };

    auto& environment = invocation.environment;
    bool outputGone = false;
    auto timer = environment.makeTimer();
    timer->onTick = [&]
    {
        if (!sender.poll (environment.nowMs()))
        {
            outputGone = true;
            timer->stop();
        }
    };
    timer->onTick();
    timer->start (WatchedFileSender::lookIntervalMs);
    environment.runUntil ([&] { return outputGone || InterruptRequest::wasRequested(); });
    timer->stop();
    if (outputGone)
    {
        showMidiError();
        return Code::negative;
    }
    return Code::success;
}
