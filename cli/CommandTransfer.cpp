#include "cli/CommandTransfer.h"

#include "cli/CommandInvocation.h"

CommandTransfer::CommandTransfer (CommandInvocation& call)
    : dialogs (call.err, PresetCommandLine::programName + ": "),
      midi (call.environment.makePorts (call.arguments.flags.contains ("--simulated-device"))),
      transfer (midi, call.environment.makeTimer()), invocation (call)
{
}

bool CommandTransfer::open (const juce::String& name, bool input)
{
    auto& ports = midi.getPorts();
    if (!(input ? ports.getInputNames() : ports.getOutputNames()).contains (name))
    {
        invocation.complain() << "there is no MIDI " << (input ? "input" : "output") << " named \"" << name
                              << "\" (see \"" << PresetCommandLine::programName << " ports\")\n";
        return false;
    }
    if (input)
        midi.setInputDevice (name);
    else
        midi.setOutputDevice (name);
    return true;
}
