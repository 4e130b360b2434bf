#pragma once

#include "editor/ParameterValue.h"
#include "midi/MidiManager.h"
#include "preset/PresetLayout.h"

#include <atomic>
#include <functional>
#include <juce_data_structures/juce_data_structures.h>
#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>
#include <map>
#include <optional>
#include <utility>
#include <vector>

/** Holds one document's preset image, keeps it in step with the widgets' bindings, saves and
    loads "*.marlo" files, and moves the preset to and from the hardware.

    Threads: everything runs on the message thread except midiMessageReceived, which the MIDI
    manager calls on the MIDI input thread. That call only recognises a reply and hands its bytes
    to the message thread; taking a reply and the timer's repeat or give-up step are decided under
    one lock, so a reply is taken exactly once and nothing follows it.

    Undo: each committed value, each mode change (with the bytes it rewrites) and each load is one
    step, holding the image and every bound box's value before and after. Undo and redo only set
    boxes and bytes; nothing is sent and no file is touched.
*/
class PresetController : public juce::Button::Listener,
                         public ParameterValue::Listener,
                         public juce::Timer,
                         public MidiManager::MidiManagerListener
{
public:
    static constexpr int firstReplyTimeoutMs = 1000;
    static constexpr int retryIntervalMs = 750;
    static constexpr int maxRetries = 8;

    PresetController (int presetDataLength, MidiManager& midiManager);
    ~PresetController() override;

    void buttonClicked (juce::Button* button) override;
    void buttonStateChanged (juce::Button*) override {}
    void parameterValueChanged (ParameterValue* value) override;
    /** Called on the MIDI input thread. */
    void midiMessageReceived (const juce::MidiMessage& message) override;
    void timerCallback() override;

    void addParameterOffsets (const juce::Array<ParameterAddress>& entries);
    void addActionListener (juce::ActionListener* listener);

    void sendPresetToHardware();
    void requestPreset();

    juce::Array<juce::uint8> createDumpData() const;
    bool loadPresetData (const juce::Array<juce::uint8>& data);
    bool validatePresetData (const juce::Array<juce::uint8>& data) const;

    /** Writes the 103-byte dump; false (after an alert naming the file) when the write failed. */
    bool saveToFile (const juce::File& file);
    /** On success the preset's origin becomes the file, and the load is one undo step that gives
        back the origin it replaced. */
    bool loadFromFile (const juce::File& file);

    /** Where the preset belongs, as its document names it: the file it is saved to (none for an
        untitled document) and the name shown. Undoing a load gives the document back the origin
        it had before, so a later save cannot write old values into the loaded file. */
    struct Origin
    {
        juce::File file;
        juce::String name;
        bool operator== (const Origin& other) const { return file == other.file && name == other.name; }
        bool operator!= (const Origin& other) const { return !operator== (other); }
    };

    const Origin& getOrigin() const noexcept { return origin; }
    /** The document tells each new name or file (a save under a new name); this is no step. */
    void setOrigin (const Origin& newOrigin);
    /** Called after an undo or redo gave the preset another origin (message thread). */
    std::function<void()> onOriginRestored;
    /** Called after every change of the preset or its origin: a step, an undo, a redo. */
    std::function<void()> onChanged;

    /** Whether the user ever changed this preset: a step was recorded (even one undone since),
        a get succeeded, or markChanged was called. */
    bool hasEverChanged() const noexcept { return everChanged; }
    /** For a preset that holds someone's unsaved work from the start (a recovered one). */
    void markChanged();

    /** Stops listening to MIDI, stops a get in progress and forgets every binding. The document
        calls this before its views go, so nothing can reach a deleted binding. */
    void detach();

    const juce::Array<juce::uint8>& getPresetData() const noexcept { return presetData; }

    /** How many steps are kept at least; older ones are forgotten. */
    static constexpr int minimumUndoSteps = 500;

    /** Takes typed text first (it becomes a step of its own), then goes one step back or forward.
        False when there was no step to go to. */
    bool undo();
    bool redo();
    bool canUndo() const { return undoManager.canUndo(); }
    bool canRedo() const { return undoManager.canRedo(); }
    /** Forgets every step; what is shown now is where undo stops. Steps are recorded from the
        first call on, so building the views and loading the starting preset cost no snapshots. */
    void clearUndoHistory();

    /** Called before the preset is written to a file or sent, so that whatever the user has typed
        and not yet committed is taken first (message thread). */
    std::function<void()> onBeforePresetIsRead;
    bool isAwaitingReply() const noexcept { return awaitingReply.load(); }
    int getRetryCount() const noexcept { return retryCount; }

    static void showNoDeviceAlert();
    static void showGetPresetFailedAlert();
    static void showGetPresetSucceededAlert();
    static void showInvalidMidiMessageAlert();
    static void showInvalidFileAlert();
    static void showSaveFailedAlert (const juce::File& file, const juce::String& reason);

private:
    void applyPendingReply();
    bool isGetInProgress() const;
    void takeShownValuesForMode (int modeOffset, int modeValue);
    std::optional<int> boundValueOf (const juce::String& name) const;
    void takePendingEdits();

    /** What undo goes back to: the image and, for every bound box, its stored value, and the
        origin; a step gives back the origin only where the step itself changed it (a load). */
    struct Snapshot
    {
        juce::Array<juce::uint8> image;
        std::vector<std::pair<ParameterValue*, double>> values;
        Origin origin;
        bool operator== (const Snapshot& other) const
        {
            return image == other.image && values == other.values && origin == other.origin;
        }
    };
    class Step;

    Snapshot takeSnapshot() const;
    void restore (const Snapshot& snapshot, bool withOrigin);
    void recordStep();
    bool applyImage (const juce::Array<juce::uint8>& data);
    void changed();

    /** Carries a taken reply from the MIDI thread to the message thread. */
    struct ReplyHandOver final : public juce::AsyncUpdater
    {
        explicit ReplyHandOver (PresetController& c) : controller (c) {}
        void handleAsyncUpdate() override { controller.applyPendingReply(); }
        PresetController& controller;
    };

    juce::ActionBroadcaster actionBroadcaster;
    std::map<juce::String, int> parameterOffsets;
    std::map<int, juce::Array<ParameterValue*>> boundValues;
    MidiManager* midiManager;
    juce::Array<juce::uint8> presetData;
    int retryCount = 0;
    std::atomic<bool> awaitingReply{false};

    // Guards the decision "take this reply" against the timer's repeat and give-up steps.
    mutable juce::CriticalSection replyLock;
    std::optional<juce::MidiMessage> pendingReply;
    ReplyHandOver replyHandOver{*this};
    bool detached = false;
    bool loading = false;
    juce::UndoManager undoManager;
    bool recordingSteps = false;
    bool everChanged = false;
    Origin origin;
    // The state after the last step; the "before" of the next one.
    Snapshot lastRecorded;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetController)
};

/** Builds a controller for a 93-byte preset with the whole parameter layout. */
std::unique_ptr<PresetController> createPresetController (MidiManager& midiManager);
