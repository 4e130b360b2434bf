#pragma once

#include "midi/MidiManager.h"
#include "midi/TransferTimer.h"

#include <array>
#include <atomic>
#include <functional>
#include <juce_audio_devices/juce_audio_devices.h>
#include <memory>
#include <vector>

/** Finds the controllers among the MIDI devices: sends the controller's own preset request, which
    other devices ignore, to one output at a time and listens on every input for a while after
    each. An input that brings a valid preset reply pairs with that output; an input that brings
    back the request itself is a loop (a virtual cable, an interface that echoes), and is never
    chosen, whatever else it brings. Every pair is listed: several controllers may answer. A
    reply late for its own output's wait would arrive in the next output's and pair the wrong
    port, so each pair is asked once more, its output alone, and stands only when its input
    answers again.

    It never sends while a get, a compare or a send runs (it waits for it to end), it touches no
    document, and it can be cancelled at any time. The input and output the MIDI manager has open
    are used through the manager rather than opened a second time, which some systems refuse.

    Threads: everything runs on the message thread except the inputs' callbacks, which only note
    what each input brought, under a lock, for the round in progress.
*/
class ControllerFinder final
{
public:
    static constexpr int defaultWaitMs = 300;
    /** How often a finder that waits for a transfer to end looks again. */
    static constexpr int busyRecheckMs = 50;

    struct Pair
    {
        juce::String input;
        juce::String output;
        bool operator== (const Pair& other) const { return input == other.input && output == other.output; }
    };

    /** The manager must outlive the finder; the timer paces the rounds (tests drive it by hand). */
    explicit ControllerFinder (MidiManager& midiManager,
                               std::unique_ptr<TransferTimer> timer = TransferTimer::createSystemTimer());
    ~ControllerFinder();

    /** Whether a get, a compare or a send is running now; unset: never. */
    std::function<bool()> isTransferRunning;
    /** Told as each output is asked: how many were asked before it, of how many, and its name. */
    std::function<void (int done, int total, const juce::String& output)> onProgress;
    /** Told once when every output has been tried, with the pairs found (none: nothing answered). */
    std::function<void (const std::vector<Pair>& found)> onFinished;

    /** Starts a search with this wait per output; does nothing while one runs. */
    void start (int waitMs = defaultWaitMs);
    /** Stops sending and listening at once; onFinished is not told. */
    void cancel();
    bool isRunning() const noexcept { return running; }

    const std::vector<Pair>& getFound() const noexcept { return found; }
    /** The inputs that brought back the request itself. */
    const juce::StringArray& getLoops() const noexcept { return loops; }

private:
    class Ear;
    /** What one input brought in a round. The input's thread only stamps and copies into it,
        claiming the reply buffer with one atomic step; it never waits and never allocates. */
    struct Heard
    {
        static constexpr int empty = 0, writing = 1, full = 2;
        /** Longer than any reply needs: bytes after the preset are ignored anyway. */
        static constexpr int replyCapacity = 128;

        std::atomic<int> echoRound{-1};
        std::atomic<int> replyState{empty};
        int replyRound = -1;
        int replySize = 0;
        std::array<juce::uint8, replyCapacity> reply{};
    };

    void beginRound();
    void endRound();
    void confirmCandidates();
    void finish();
    void closeAll();
    void hear (int input, const juce::MidiMessage& message);
    /** Whether the input's kept reply came in this round and carries a valid preset; empties it. */
    bool takeReply (Heard& entry, int serial);

    MidiManager& midiManager;
    std::unique_ptr<TransferTimer> timer;
    int waitMs = defaultWaitMs;
    bool running = false;

    juce::StringArray inputNames;
    juce::StringArray outputNames;
    /** The outputs to ask in turn (all, then those of the pairs to confirm), and the one asked now. */
    std::vector<int> asking;
    size_t round = 0;
    bool confirming = false;
    std::vector<Pair> candidates;
    std::vector<std::unique_ptr<Ear>> ears;
    std::unique_ptr<MidiPorts::Output> ownOutput;

    // Sized before any input opens and kept until every input is closed.
    std::unique_ptr<Heard[]> heard;
    int heardCount = 0;
    /** The round the inputs are heard for; -1 between rounds. Each round has a number of its own,
        so that what came late for one is not counted in the next. */
    std::atomic<int> listeningRound{-1};
    int lastRound = -1;

    std::vector<Pair> found;
    juce::StringArray loops;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ControllerFinder)
};
