// marlo-preset: the editor's presets on the command line, without a window or a display.
#include "cli/InterruptRequest.h"
#include "cli/PresetCommandLine.h"

#include <juce_events/juce_events.h>
#include <optional>

int main (int argc, char* argv[])
{
    // From the first moment: a Ctrl+C while the framework starts must not kill a command that
    // promises to end on its own terms.
    std::optional<InterruptRequest> interrupt;
    if (argc > 1 && PresetCommandLine::waits (juce::String::fromUTF8 (argv[1])))
        interrupt.emplace();

    // The message loop drives the transfer's timer and the reply's hand-over; nothing here opens
    // a window, so no display is needed.
    juce::ScopedJuceInitialiser_GUI juce;

    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    return PresetCommandLine (PresetCommandLine::systemEnvironment()).runOnStandardStreams (arguments);
}
