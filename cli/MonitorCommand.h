#pragma once

#include "preset/PresetCodec.h"

#include <juce_core/juce_core.h>

class CommandInvocation;

/** "marlo-preset monitor": prints each MIDI message that arrives at an input, with the controls of
    a preset that send it, until a count, a time or Ctrl+C; and plays the simulated controller.

    Reads through the same monitor a window would: the MIDI thread only fills a FIFO, and the lines
    are written on the message thread as it drains.
*/
class MonitorCommand
{
public:
    static const juce::String synopsis;
    static const juce::String description;

    explicit MonitorCommand (CommandInvocation& invocation);

    /** Reads its own options, since --play may repeat. */
    int run();

    /** What the options ask for. */
    struct Options
    {
        juce::String input;
        juce::String presetFile;
        bool json = false;
        bool simulated = false;
        bool help = false;
        /** 0: no limit. */
        int count = 0;
        /** 0: no limit. */
        double seconds = 0.0;
        juce::StringArray plays;
    };

    static juce::Result parse (const juce::StringArray& arguments, Options& options);

private:
    int listen (const Options& options, const PresetCodec::Image& preset);

    CommandInvocation& invocation;
};
