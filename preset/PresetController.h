#pragma once

#include "editor/EditorListener.h"
#include "preset/PresetLayout.h"
#include "preset/PresetModel.h"
#include "preset/PresetTransferFlow.h"

#include <functional>
#include <juce_data_structures/juce_data_structures.h>
#include <juce_gui_basics/juce_gui_basics.h>
#include <map>
#include <optional>
#include <utility>
#include <vector>

/** Holds one document's preset, keeps it in step with the widgets' bindings, saves and loads
    "*.marlo" files (PresetFileFlow), and moves the preset to and from the hardware
    (PresetTransferFlow).

    The preset itself is a PresetModel: the image, each box's value and the mode rule live there
    alone, and every value a binding reports goes into it.

    Threads: everything runs on the message thread; the transfer takes a reply from the MIDI
    thread and reports on the message thread (see PresetTransfer).

    Undo: each committed value, each mode change (with the bytes it rewrites) and each load is one
    step, holding the preset before and after: the image and the value of every box, made or not.
    Undo and redo only set boxes and bytes and no file is touched; like every committed change
    they are sent to the controller only while sending changes is on (PresetSender).
*/
class PresetController : public EditorListener
{
public:
    /** The timer schedules a get's repeats; tests pass one they drive by hand. The sender is the
        application's, shared by its documents (not owned); null gives the controller one of its own. */
    PresetController (MidiManager& midiManager,
                      std::unique_ptr<TransferTimer> timer = TransferTimer::createSystemTimer(),
                      PresetSender* sender = nullptr);
    ~PresetController() override;

    void buttonClicked (juce::Button* button) override;
    void buttonStateChanged (juce::Button*) override {}
    void parameterValueChanged (ParameterValue* value) override;
    /** A binding made after the preset was loaded (a page is built when it is first shown) shows
        what the preset holds for it; nothing it reports while doing so is an edit. */
    void parameterValueAdded (ParameterValue* value) override;

    void addActionListener (juce::ActionListener* listener);

    void sendPresetToHardware();
    void requestPreset();
    /** Gets the controller's preset as a get does (request, repeats, time-out, alerts) into a
        preset of its own, leaving this one as it is, and hands it to onCompared. Refused without a
        word while a get or another compare runs, as a second get is. */
    void compareWithController();
    /** Called with the controller's preset after a compare (message thread). */
    std::function<void (const PresetModel& controllerPreset)> onCompared;
    /** Called after the dump went out, with the output it went to (message thread). */
    std::function<void (const juce::String& outputName)> onSent;
    /** With verifying on: the controller gave back what was sent last. */
    std::function<void()> onVerified;
    /** With verifying on: what was sent last and what the controller gave back instead (nothing
        when it did not answer); the document's preset is left as it is. */
    std::function<void (const PresetModel& sentPreset, const std::optional<PresetModel>& controllerPreset)>
        onVerifyFailed;

    /** The dump message a send emits, F0 to F7, of the preset as the screen shows it (what is typed
        and not yet committed is taken first). */
    juce::MidiMessage createDumpMessage();

    juce::Array<juce::uint8> createDumpData() const;
    bool loadPresetData (const juce::Array<juce::uint8>& data);
    bool validatePresetData (const juce::Array<juce::uint8>& data) const;

    /** Writes the 103-byte dump; false (after an alert naming the file) when the write failed. */
    bool saveToFile (const juce::File& file);
    /** On success the preset's origin becomes the file, and the load is one undo step that gives
        back the origin it replaced; a file of several presets says that its first is shown. On
        failure the "Invalid File" alert names the file and why. */
    bool loadFromFile (const juce::File& file);

    /** Where the preset belongs, as its document names it: the file it is saved to (none for an
        untitled document) and the name shown. Undoing a load gives the document back the origin
        it had before, so a later save cannot write old values into the loaded file. A foreign
        file (one another program wrote, not exactly a preset file) is never written over. */
    struct Origin
    {
        juce::File file;
        juce::String name;
        bool foreign = false;
        bool operator== (const Origin& other) const
        {
            return file == other.file && name == other.name && foreign == other.foreign;
        }
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

    const juce::Array<juce::uint8>& getPresetData() const noexcept { return model.getImage(); }
    const PresetModel& getModel() const noexcept { return model; }

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
    bool isAwaitingReply() const noexcept { return transfers.isAwaitingReply(); }
    int getRetryCount() const noexcept { return transfers.getRetryCount(); }

private:
    void takePendingEdits();
    /** A get's preset: loaded as one step, or refused with nothing changed. */
    bool takeReceivedPreset (const PresetCodec::Image& image);

    /** What undo goes back to: the model (the image and every box's value, bound or not yet
        built) and the origin; a step gives back the origin only where the step itself changed it
        (a load). */
    struct Snapshot
    {
        PresetModel model;
        Origin origin;
        bool operator== (const Snapshot& other) const
        {
            return model == other.model && origin == other.origin;
        }
    };
    class Step;

    Snapshot takeSnapshot() const;
    void restore (const Snapshot& snapshot, bool withOrigin);
    void recordStep();
    bool applyImage (const juce::Array<juce::uint8>& data);
    /** Makes every bound box show the value `source` holds for it, as a load does. */
    void showBoxesOf (const PresetModel& source);
    void changed();

    juce::ActionBroadcaster actionBroadcaster;
    std::map<int, juce::Array<ParameterValue*>> boundValues;
    PresetModel model;
    PresetTransferFlow transfers;
    bool detached = false;
    bool loading = false;
    // Set while a get's preset is taken: the controller already holds it, so it is not sent back.
    bool receiving = false;
    // Set while a new binding is given the preset's value: what it reports then is no edit.
    bool adopting = false;
    juce::UndoManager undoManager;
    bool recordingSteps = false;
    bool everChanged = false;
    Origin origin;
    // The state after the last step; the "before" of the next one.
    Snapshot lastRecorded;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetController)
};

/** Builds a controller for a 93-byte preset with the whole parameter layout. */
std::unique_ptr<PresetController>
createPresetController (MidiManager& midiManager,
                        std::unique_ptr<TransferTimer> timer = TransferTimer::createSystemTimer(),
                        PresetSender* sender = nullptr);
