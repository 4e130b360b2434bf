#pragma once

#include "midi/MidiPorts.h"
#include "midi/TransferTimer.h"

#include <functional>
#include <juce_core/juce_core.h>
#include <memory>

class PresetTransfer;

/** The commands of the "marlo-preset" program: create, show, check, compare, convert and edit
    "*.marlo" files, read the ".syx" files other MIDI programs save, and move a preset to and from
    the controller, all without a window.

    Every value goes through the classes the editor uses: files through PresetFile and PresetCodec,
    edits through PresetModel, transfers through PresetTransfer, so the tool and the editor cannot
    disagree.
    Runs on the message thread; the streams are the program's standard output and error.
*/
class PresetCommandLine
{
public:
    enum ExitCode
    {
        success = 0,  ///< done, valid, the same
        negative = 1, ///< invalid, different, refused, timed out
        usageOrFileError = 2,
        interrupted = 130 ///< Ctrl+C: nothing was written (as a shell reports SIGINT)
    };

    /** What the transfer commands reach outside the process and the time they take; tests
        replace them. */
    struct Environment
    {
        /** The MIDI service: the system's devices, and the simulated Marlo when asked for. */
        std::function<std::unique_ptr<MidiPorts> (bool withSimulatedDevice)> makePorts;
        /** The timer a get repeats its request on. */
        std::function<std::unique_ptr<TransferTimer>()> makeTimer;
        /** Returns once `finished` holds; runs the message loop so the transfer's timer and the
            reply's hand-over can work. */
        std::function<void (PresetTransfer& transfer, const std::function<bool()>& finished)> waitForTransfer;
        /** Runs the message loop until `finished` holds, however long that takes; the monitor's
            FIFO is drained meanwhile. */
        std::function<void (const std::function<bool()>& finished)> runUntil;
        /** A steady clock in milliseconds; "monitor --seconds" counts on it. */
        std::function<double()> nowMs;
        /** Why the system's MIDI devices cannot be reached at all, empty while they can; said once
            by every command that reaches them. Unset: they can. */
        std::function<juce::String()> missingMidiService;
    };

    /** The real devices and the real message loop. */
    static Environment systemEnvironment();

    explicit PresetCommandLine (Environment environment);

    /** Runs one command; `arguments` excludes the program's name. */
    int run (const juce::StringArray& arguments, juce::OutputStream& out, juce::OutputStream& err);

    /** Runs one command on the process's standard output and error. */
    int runOnStandardStreams (const juce::StringArray& arguments);

    static const juce::String programName;

    /** Whether the command waits (for a device or a lock), and so takes Ctrl+C as a request to
        stop rather than dying by it. */
    static bool waits (const juce::String& command);

private:
    Environment environment;
};
