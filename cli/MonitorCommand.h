#pragma once

#include "cli/PresetCommandLine.h"
#include "preset/PresetCodec.h"

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

    MonitorCommand (PresetCommandLine::Environment& environment, juce::OutputStream& out,
                    juce::OutputStream& err);

    /** `arguments` follow the command's name; `usage` is printed for --help and with a usage error. */
    int run (const juce::StringArray& arguments, const juce::String& usage);

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

    PresetCommandLine::Environment& environment;
    juce::OutputStream& out;
    juce::OutputStream& err;
};
