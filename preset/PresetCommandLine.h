#pragma once

#include "midi/MidiPorts.h"

#include <functional>
#include <juce_core/juce_core.h>
#include <memory>

class PresetController;

/** The commands of the "marlo-preset" program: create, show, check, compare and edit "*.marlo"
    files, and move a preset to and from the controller, all without a window.

    Every value goes through the classes the editor uses: files through PresetCodec, edits through
    PresetModel, transfers through PresetController, so the tool and the editor cannot disagree.
    Runs on the message thread; the streams are the program's standard output and error.
*/
class PresetCommandLine
{
public:
    enum ExitCode
    {
        success = 0,  ///< done, valid, the same
        negative = 1, ///< invalid, different, refused, timed out
        usageOrFileError = 2
    };

    /** What the transfer commands reach outside the process; tests replace both. */
    struct Environment
    {
        /** The MIDI service: the system's devices, and the simulated Marlo when asked for. */
        std::function<std::unique_ptr<MidiPorts> (bool withSimulatedDevice)> makePorts;
        /** Returns once `finished` holds; runs the message loop so the controller's timer and the
            reply's hand-over can work. */
        std::function<void (PresetController& controller, const std::function<bool()>& finished)>
            waitForTransfer;
    };

    /** The real devices and the real message loop. */
    static Environment systemEnvironment();

    explicit PresetCommandLine (Environment environment);

    /** Runs one command; `arguments` excludes the program's name. */
    int run (const juce::StringArray& arguments, juce::OutputStream& out, juce::OutputStream& err);

    /** Runs one command on the process's standard output and error. */
    int runOnStandardStreams (const juce::StringArray& arguments);

    static const juce::String programName;

private:
    Environment environment;
};
