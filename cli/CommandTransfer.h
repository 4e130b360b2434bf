#pragma once

#include "cli/ConsoleDialogs.h"
#include "midi/MidiManager.h"
#include "midi/PresetTransfer.h"

class CommandInvocation;

/** The MIDI side of a command that moves presets: the devices it was given, opened by name, and
    the transfer the editor uses. Alerts go to the error stream, as the editor's dialogs would show
    them.
*/
class CommandTransfer
{
public:
    explicit CommandTransfer (CommandInvocation& invocation);

    /** Opens a device by name; false, after saying so in the tool's words, when there is none of
        that name. */
    bool open (const juce::String& name, bool input);

    ConsoleDialogs dialogs;
    MidiManager midi;
    PresetTransfer transfer;

private:
    CommandInvocation& invocation;
};
