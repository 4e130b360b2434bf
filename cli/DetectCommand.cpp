#include "cli/DetectCommand.h"

#include "cli/CommandInvocation.h"
#include "cli/InterruptRequest.h"
#include "midi/ControllerFinder.h"

#include <optional>

namespace
{
using Code = PresetCommandLine::ExitCode;

/** The wait per output: a whole number of milliseconds from 1 to a minute. */
std::optional<int> waitOf (const CommandInvocation::Arguments& arguments)
{
    if (!arguments.values.containsKey ("--wait"))
        return ControllerFinder::defaultWaitMs;
    const auto text = arguments.values["--wait"].trim();
    if (!text.containsOnly ("0123456789") || text.isEmpty() || text.length() > 5)
        return std::nullopt;
    const auto ms = text.getIntValue();
    return ms >= 1 && ms <= 60000 ? std::optional<int> (ms) : std::nullopt;
}

void print (CommandInvocation& invocation, const std::vector<ControllerFinder::Pair>& found)
{
    if (!invocation.arguments.flags.contains ("--json"))
    {
        for (const auto& pair : found)
            invocation.out << "in: " << pair.input << ", out: " << pair.output << "\n";
        return;
    }
    juce::Array<juce::var> pairs;
    for (const auto& pair : found)
    {
        auto object = std::make_unique<juce::DynamicObject>();
        object->setProperty ("input", pair.input);
        object->setProperty ("output", pair.output);
        pairs.add (juce::var (object.release()));
    }
    invocation.out << juce::JSON::toString (juce::var (pairs), true) << "\n";
}
} // namespace

int DetectCommand::run (CommandInvocation& invocation)
{
    const auto wait = waitOf (invocation.arguments);
    if (!wait.has_value())
        return invocation.refuseCall ("--wait takes a number of milliseconds from 1 to 60000");

    MidiManager midi (
        invocation.environment.makePorts (invocation.arguments.flags.contains ("--simulated-device")));
    ControllerFinder finder (midi, invocation.environment.makeTimer());
    std::optional<std::vector<ControllerFinder::Pair>> found;
    finder.onFinished = [&found] (const std::vector<ControllerFinder::Pair>& pairs) { found = pairs; };
    finder.start (*wait);
    invocation.environment.runUntil ([&] { return found.has_value() || InterruptRequest::wasRequested(); });
    if (!found.has_value())
        return Code::interrupted;

    for (const auto& loop : finder.getLoops())
        invocation.complain (loop) << "brings back what it is sent: a loop, not a controller\n";
    print (invocation, *found);
    if (found->empty())
    {
        invocation.complain() << "no controller answered\n";
        return Code::negative;
    }
    return Code::success;
}
