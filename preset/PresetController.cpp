#include "preset/PresetController.h"

#include "preset/Dialogs.h"
#include "preset/PresetCodec.h"
#include "preset/PresetFile.h"
#include "preset/PresetMessages.h"
#include "preset/PresetModel.h"

namespace
{
juce::MidiMessage createRequestMessage()
{
    const auto header = createRequestHeader();
    return juce::MidiMessage::createSysExMessage (header.getRawDataPointer(), header.size());
}

} // namespace

/** One step of the history: both states are whole, so undo and redo never depend on the order
    in which boxes report or on what a hidden box would refuse. */
class PresetController::Step final : public juce::UndoableAction
{
public:
    Step (PresetController& owner, Snapshot stateBefore, Snapshot stateAfter)
        : controller (owner), before (std::move (stateBefore)), after (std::move (stateAfter))
    {
    }

    bool perform() override
    {
        // The first call comes as the step is recorded, when the screen already shows it.
        if (std::exchange (justRecorded, false))
            return true;
        controller.restore (after, changesOrigin());
        return true;
    }

    bool undo() override
    {
        controller.restore (before, changesOrigin());
        return true;
    }

    bool changesOrigin() const { return before.origin != after.origin; }

private:
    PresetController& controller;
    Snapshot before;
    Snapshot after;
    bool justRecorded = true;
};

PresetController::PresetController (int presetDataLength, MidiManager& manager) : midiManager (&manager)
{
    presetData.insertMultiple (0, 0, presetDataLength);
    midiManager->addListener (this);
    // Steps are counted, not weighed: a unit budget of 1 leaves only the count to decide.
    undoManager.setMaxNumberOfStoredUnits (0, minimumUndoSteps);
}

PresetController::~PresetController()
{
    detach();
}

void PresetController::detach()
{
    if (!detached)
        midiManager->removeListener (this);
    detached = true;
    stopTimer();
    {
        const juce::ScopedLock lock (replyLock);
        awaitingReply = false;
        pendingReply.reset();
    }
    replyHandOver.cancelPendingUpdate();
    retryCount = 0;
    // The steps point at the bindings that are about to go.
    undoManager.clearUndoHistory();
    recordingSteps = false;
    lastRecorded = {};
    boundValues.clear();
}

void PresetController::addParameterOffsets (const juce::Array<ParameterAddress>& entries)
{
    for (const auto& entry : entries)
        parameterOffsets[entry.name] = entry.offset;
}

void PresetController::addActionListener (juce::ActionListener* listener)
{
    actionBroadcaster.addActionListener (listener);
}

void PresetController::buttonClicked (juce::Button* button)
{
    const auto name = button->getName();
    if (name == "Save To HD")
        actionBroadcaster.sendActionMessage ("Save As");
    else if (name == "Load From HD")
        actionBroadcaster.sendActionMessage ("Open");
    else if (name == "Save To MIDI")
        sendPresetToHardware();
    else if (name == "Load From MIDI")
        requestPreset();
}

void PresetController::parameterValueChanged (ParameterValue* value)
{
    if (detached)
        return;

    const auto entry = parameterOffsets.find (value->getParameterName());
    if (entry == parameterOffsets.end())
        return;

    const auto offset = entry->second;
    const auto stored = static_cast<int> (value->getValue());
    presetData.set (offset, static_cast<juce::uint8> (stored & 0xFF));
    boundValues[offset].addIfNotAlreadyThere (value);

    // A load sets every byte itself; the rule is for the user's own mode changes.
    if (loading)
        return;
    if (PresetModel::isModeByte (offset))
        takeShownValuesForMode (offset, stored);
    recordStep();
}

PresetController::Snapshot PresetController::takeSnapshot() const
{
    Snapshot snapshot;
    snapshot.image = presetData;
    for (const auto& [offset, bindings] : boundValues)
        for (auto* binding : bindings)
            snapshot.values.emplace_back (binding, binding->getValue());
    snapshot.origin = origin;
    return snapshot;
}

void PresetController::restore (const Snapshot& snapshot, bool withOrigin)
{
    {
        // As in a load: the boxes take their values without the mode rule rewriting any byte.
        const juce::ScopedValueSetter<bool> duringRestore (loading, true);
        for (const auto& [binding, value] : snapshot.values)
            binding->setValue (value);
    }
    presetData = snapshot.image;
    // Only a step that changed the origin gives it back: an edit made before a save under a new
    // name, once undone, leaves the document on its new file.
    if (withOrigin)
        origin = snapshot.origin;
    lastRecorded = snapshot;
    lastRecorded.origin = origin;
    if (withOrigin && onOriginRestored != nullptr)
        onOriginRestored();
    changed();
}

void PresetController::recordStep()
{
    if (!recordingSteps)
        return;
    auto now = takeSnapshot();
    // The same value entered again is reported too, but it is no step.
    if (now == lastRecorded)
        return;
    undoManager.beginNewTransaction();
    undoManager.perform (new Step (*this, std::move (lastRecorded), now));
    lastRecorded = std::move (now);
    everChanged = true;
    changed();
}

void PresetController::changed()
{
    if (onChanged != nullptr)
        onChanged();
}

void PresetController::markChanged()
{
    everChanged = true;
    changed();
}

void PresetController::setOrigin (const Origin& newOrigin)
{
    if (origin == newOrigin)
        return;
    origin = newOrigin;
    // Saving under a new name is no step: the next step starts from the new origin.
    lastRecorded.origin = origin;
    changed();
}

bool PresetController::undo()
{
    takePendingEdits();
    return undoManager.undo();
}

bool PresetController::redo()
{
    takePendingEdits();
    return undoManager.redo();
}

void PresetController::clearUndoHistory()
{
    recordingSteps = true;
    undoManager.clearUndoHistory();
    lastRecorded = takeSnapshot();
}

void PresetController::takeShownValuesForMode (int modeOffset, int modeValue)
{
    // A byte that several boxes share would otherwise keep the value of a box the new mode hides,
    // and the controller would play something the screen does not show.
    const auto writes = PresetModel::writesForModeChange (
        modeOffset, modeValue, [this] (const juce::String& name) { return boundValueOf (name); });
    for (const auto& write : writes)
        presetData.set (write.offset, static_cast<juce::uint8> (write.value & 0xFF));
}

std::optional<int> PresetController::boundValueOf (const juce::String& name) const
{
    const auto entry = parameterOffsets.find (name);
    if (entry == parameterOffsets.end())
        return std::nullopt;
    const auto bound = boundValues.find (entry->second);
    if (bound == boundValues.end())
        return std::nullopt;
    for (auto* binding : bound->second)
        if (binding->getParameterName() == name)
            return static_cast<int> (binding->getValue());
    return std::nullopt;
}

void PresetController::sendPresetToHardware()
{
    takePendingEdits();
    if (!midiManager->isOutputOpen())
    {
        showNoDeviceAlert();
        return;
    }
    const auto data = createDumpData();
    midiManager->sendMessage (juce::MidiMessage::createSysExMessage (data.getRawDataPointer(), data.size()));
}

void PresetController::requestPreset()
{
    if (isTimerRunning() || isGetInProgress())
        return;

    if (!midiManager->isInputOpen() || !midiManager->isOutputOpen())
    {
        showNoDeviceAlert();
        return;
    }

    const auto request = createRequestMessage();
    const juce::ScopedLock lock (replyLock);
    retryCount = 0;
    awaitingReply = true;
    // The wait for the answer starts once the request is out, as each repeat's does.
    midiManager->sendMessage (request);
    startTimer (firstReplyTimeoutMs);
}

bool PresetController::isGetInProgress() const
{
    const juce::ScopedLock lock (replyLock);
    return awaitingReply || pendingReply.has_value();
}

void PresetController::timerCallback()
{
    bool gaveUp = false;
    bool lostOutput = false;
    {
        // Decided under the lock the MIDI thread takes a reply under: either the reply was taken
        // before this step (then nothing more is sent and no failure follows) or after it.
        const juce::ScopedLock lock (replyLock);
        if (!awaitingReply)
        {
            stopTimer();
            return;
        }
        if (retryCount > maxRetries - 1)
        {
            stopTimer();
            retryCount = 0;
            awaitingReply = false;
            gaveUp = true;
        }
        else if (!midiManager->isOutputOpen())
        {
            // The output went away during the get (Device Setup, a pulled cable): one error says
            // so, and repeating into nothing would only stack more of them.
            stopTimer();
            retryCount = 0;
            awaitingReply = false;
            lostOutput = true;
        }
        else
        {
            ++retryCount;
            midiManager->sendMessage (createRequestMessage());
            startTimer (retryIntervalMs);
        }
    }
    if (gaveUp)
        showGetPresetFailedAlert();
    if (lostOutput)
        showMidiError();
}

void PresetController::midiMessageReceived (const juce::MidiMessage& message)
{
    if (!awaitingReply || !PresetCodec::isReply (message))
        return;

    {
        const juce::ScopedLock lock (replyLock);
        if (!awaitingReply)
            return;
        awaitingReply = false;
        pendingReply = message;
    }
    replyHandOver.triggerAsyncUpdate();
}

void PresetController::applyPendingReply()
{
    std::optional<juce::MidiMessage> reply;
    {
        const juce::ScopedLock lock (replyLock);
        reply.swap (pendingReply);
    }
    if (!reply.has_value())
        return;

    stopTimer();
    retryCount = 0;

    PresetCodec::Image image;
    if (PresetCodec::decodeReply (*reply, image).wasOk() && loadPresetData (image))
    {
        // A get that brought back what the editor showed is no step, but the preset now comes
        // from the controller.
        everChanged = true;
        showGetPresetSucceededAlert();
    }
    else
    {
        showInvalidMidiMessageAlert();
    }
}

juce::Array<juce::uint8> PresetController::createDumpData() const
{
    auto data = createDumpHeader();
    data.addArray (presetData);
    return data;
}

bool PresetController::loadPresetData (const juce::Array<juce::uint8>& data)
{
    if (!applyImage (data))
        return false;
    recordStep();
    return true;
}

bool PresetController::applyImage (const juce::Array<juce::uint8>& data)
{
    if (!validatePresetData (data))
        return false;

    {
        const juce::ScopedValueSetter<bool> duringLoad (loading, true);
        for (int offset = 0; offset < data.size(); ++offset)
        {
            const auto bound = boundValues.find (offset);
            if (bound == boundValues.end())
                continue;
            // A copy: setting a value can register further bindings for this byte.
            const auto bindings = bound->second;
            for (auto* binding : bindings)
                binding->setValue (static_cast<double> (data[offset]));
            // Whatever a hidden box refused and in whatever order the boxes reported, the image
            // holds exactly what was loaded.
            presetData.set (offset, data[offset]);
        }
    }
    return true;
}

bool PresetController::validatePresetData (const juce::Array<juce::uint8>& data) const
{
    return PresetCodec::checkImage (data).wasOk();
}

bool PresetController::saveToFile (const juce::File& file)
{
    takePendingEdits();
    const auto result = PresetFile::write (file, presetData);
    if (result.wasOk())
        return true;
    showSaveFailedAlert (file, result.getErrorMessage());
    return false;
}

bool PresetController::loadFromFile (const juce::File& file)
{
    PresetCodec::Image image;
    if (PresetFile::read (file, image).failed() || !applyImage (image))
    {
        showInvalidFileAlert();
        return false;
    }
    // One step holds the values and the origin, so undo gives back both.
    origin = {file, file.getFileNameWithoutExtension()};
    recordStep();
    return true;
}

void PresetController::takePendingEdits()
{
    if (onBeforePresetIsRead != nullptr)
        onBeforePresetIsRead();
}

void PresetController::showNoDeviceAlert()
{
    Dialogs::get().showAlert ("No MIDI Device selected.",
                              "Please select a device using the Device Setup option.");
}

void PresetController::showGetPresetFailedAlert()
{
    Dialogs::get().showAlert ("MIDI Get Preset Unsuccessful", "Verify MIDI device settings and try again.");
}

void PresetController::showGetPresetSucceededAlert()
{
    Dialogs::get().showAlert ("MIDI Get Sucess", "Preset sucessfully retrieved from hardware.");
}

void PresetController::showInvalidMidiMessageAlert()
{
    Dialogs::get().showAlert ("Invalid MIDI Message", "Verify MIDI Connection and Device Settings");
}

void PresetController::showInvalidFileAlert()
{
    Dialogs::get().showAlert ("Invalid File", "File is invalid or currupt");
}

void PresetController::showSaveFailedAlert (const juce::File& file, const juce::String& reason)
{
    Dialogs::get().showAlert ("File Not Saved", "The preset could not be written to \"" +
                                                    file.getFullPathName() + "\":\r\n" + reason);
}

std::unique_ptr<PresetController> createPresetController (MidiManager& midiManager)
{
    auto controller = std::make_unique<PresetController> (presetDataLength(), midiManager);
    controller->addParameterOffsets (presetLayout());
    return controller;
}
