// marlo-preset: the editor's presets on the command line, without a window or a display.
#include "cli/PresetCommandLine.h"

#include <juce_events/juce_events.h>

int main (int argc, char* argv[])
{
    // The message loop drives the transfer's timer and the reply's hand-over; nothing here opens
    // a window, so no display is needed.
    juce::ScopedJuceInitialiser_GUI juce;

    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    return PresetCommandLine (PresetCommandLine::systemEnvironment()).runOnStandardStreams (arguments);
}
