// marlo-preset: the editor's presets on the command line, without a window or a display.
#include "cli/InterruptRequest.h"
#include "cli/PresetCommandLine.h"
#include "platform/ThisProcess.h"
#include "platform/Utf8Console.h"

#include <algorithm>
#include <juce_events/juce_events.h>
#include <optional>
#include <string>
#include <vector>

int main (int argc, char* argv[])
{
    // The system's own arguments where it keeps them: on Windows main's are in the system's
    // ANSI code page, not UTF-8, and lose every character it has not. Where it keeps none for a
    // program that is no framework application (Linux), main's bytes are the arguments.
    auto given = ThisProcess::arguments();
    if (given.empty())
        given.assign (argv + std::min (argc, 1), argv + argc);
    juce::StringArray arguments;
    for (const auto& argument : given)
        arguments.add (juce::String::fromUTF8 (argument.c_str()));

    // From the first moment: a Ctrl+C while the framework starts must not kill a command that
    // promises to end on its own terms.
    std::optional<InterruptRequest> interrupt;
    if (!arguments.isEmpty() && PresetCommandLine::waits (arguments[0]))
        interrupt.emplace();
    const Utf8Console console;

    // The message loop drives the transfer's timer and the reply's hand-over; nothing here opens
    // a window, so no display is needed.
    juce::ScopedJuceInitialiser_GUI juce;

    return PresetCommandLine (PresetCommandLine::systemEnvironment()).runOnStandardStreams (arguments);
}
