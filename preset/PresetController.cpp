#include "preset/PresetController.h"

#include "preset/ParameterIndex.h"
#include "preset/PresetCodec.h"
#include "preset/PresetFileFlow.h"

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

PresetController::PresetController (MidiManager& manager, std::unique_ptr<TransferTimer> timer,
                                    PresetSender* sender)
    : transfers (manager, std::move (timer), sender)
{
    transfers.onReceived = [this] (const PresetCodec::Image& image) { return takeReceivedPreset (image); };
    transfers.onCompared = [this] (const PresetModel& controllerPreset)
    {
        if (onCompared != nullptr)
            onCompared (controllerPreset);
    };
    transfers.onSent = [this] (const juce::String& outputName)
    {
        if (onSent != nullptr)
            onSent (outputName);
    };
    transfers.onVerified = [this]
    {
        if (onVerified != nullptr)
            onVerified();
    };
    transfers.onVerifyFailed = [this] (const PresetModel& sent, const std::optional<PresetModel>& answer)
    {
        if (onVerifyFailed != nullptr)
            onVerifyFailed (sent, answer);
    };
    // Steps are counted, not weighed: a unit budget of 1 leaves only the count to decide.
    undoManager.setMaxNumberOfStoredUnits (0, minimumUndoSteps);
}

PresetController::~PresetController()
{
    detach();
}

void PresetController::detach()
{
    detached = true;
    transfers.detach();
    // The steps point at the bindings that are about to go.
    undoManager.clearUndoHistory();
    recordingSteps = false;
    lastRecorded = {};
    boundValues.clear();
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
    if (detached || adopting)
        return;

    const auto* entry = ParameterIndex::find (value->getParameterName());
    if (entry == nullptr)
        return;

    boundValues[entry->offset].addIfNotAlreadyThere (value);
    // A load sets every byte itself; the mode rule is for the user's own mode changes.
    model.takeShownValue (entry->name, static_cast<int> (value->getValue()), !loading);
    if (!loading)
        recordStep();
}

void PresetController::parameterValueAdded (ParameterValue* value)
{
    if (detached)
        return;

    const auto* entry = ParameterIndex::find (value->getParameterName());
    if (entry == nullptr)
        return;

    boundValues[entry->offset].addIfNotAlreadyThere (value);
    // Its default is not the user's: a box shows what the preset holds, even on a page built long
    // after the preset was loaded or edited.
    if (const auto stored = model.getStoredValue (entry->name))
    {
        const juce::ScopedValueSetter<bool> joining (adopting, true);
        value->setValue (static_cast<double> (*stored));
    }
}

PresetController::Snapshot PresetController::takeSnapshot() const
{
    return {model, origin};
}

void PresetController::showBoxesOf (const PresetModel& source)
{
    // As in a load: the boxes take their values without the mode rule rewriting any byte; the
    // caller puts the model in place afterwards, whatever the boxes reported on the way.
    const juce::ScopedValueSetter<bool> duringRestore (loading, true);
    const auto bound = boundValues;
    for (const auto& [offset, bindings] : bound)
        for (auto* binding : bindings)
            if (const auto stored = source.getStoredValue (binding->getParameterName()))
                binding->setValue (static_cast<double> (*stored));
}

void PresetController::restore (const Snapshot& snapshot, bool withOrigin)
{
    showBoxesOf (snapshot.model);
    model = snapshot.model;
    // Only a step that changed the origin gives it back: an edit made before a save under a new
    // name, once undone, leaves the document on its new file.
    if (withOrigin)
        origin = snapshot.origin;
    lastRecorded = snapshot;
    lastRecorded.origin = origin;
    if (withOrigin && onOriginRestored != nullptr)
        onOriginRestored();
    changed();
    transfers.presetChanged (model.getImage());
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
    if (!receiving)
        transfers.presetChanged (model.getImage());
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

void PresetController::sendPresetToHardware()
{
    takePendingEdits();
    transfers.send (model.getImage());
}

void PresetController::requestPreset()
{
    transfers.get();
}

void PresetController::compareWithController()
{
    transfers.compare();
}

bool PresetController::takeReceivedPreset (const PresetCodec::Image& image)
{
    const juce::ScopedValueSetter<bool> taking (receiving, true);
    if (!loadPresetData (image))
        return false;
    // A get that brought back what the editor showed is no step, but the preset now comes from
    // the controller.
    everChanged = true;
    return true;
}

juce::MidiMessage PresetController::createDumpMessage()
{
    takePendingEdits();
    return PresetTransfer::createDumpMessage (model.getImage());
}

juce::Array<juce::uint8> PresetController::createDumpData() const
{
    return PresetTransfer::createDumpData (model.getImage());
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
        }
    }
    // Whatever a hidden box refused and in whatever order the boxes reported, the image holds
    // exactly what was loaded.
    const auto loaded = model.load (data);
    jassertquiet (loaded.wasOk());
    return true;
}

bool PresetController::validatePresetData (const juce::Array<juce::uint8>& data) const
{
    return PresetCodec::checkImage (data).wasOk();
}

bool PresetController::saveToFile (const juce::File& file)
{
    takePendingEdits();
    return PresetFileFlow::save (file, model.getImage());
}

bool PresetController::loadFromFile (const juce::File& file)
{
    PresetFile::Reading reading;
    if (PresetFileFlow::load (file, reading,
                              [this] (const PresetCodec::Image& image) { return applyImage (image); })
            .failed())
        return false;
    // One step holds the values and the origin, so undo gives back both.
    origin = {file, file.getFileNameWithoutExtension(), reading.foreign};
    recordStep();
    PresetFileFlow::noteFurtherPresets (file, reading);
    return true;
}

void PresetController::takePendingEdits()
{
    if (onBeforePresetIsRead != nullptr)
        onBeforePresetIsRead();
}

std::unique_ptr<PresetController>
createPresetController (MidiManager& midiManager, std::unique_ptr<TransferTimer> timer, PresetSender* sender)
{
    return std::make_unique<PresetController> (midiManager, std::move (timer), sender);
}
