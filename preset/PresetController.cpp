#include "preset/PresetController.h"

#include "preset/AtomicFile.h"
#include "preset/Dialogs.h"
#include "preset/PresetMessages.h"

namespace
{
juce::MidiMessage createRequestMessage()
{
    const auto header = createRequestHeader();
    return juce::MidiMessage::createSysExMessage (header.getRawDataPointer(), header.size());
}

const juce::Array<juce::uint8>& replyHeader()
{
    static const auto header = createReplyHeader();
    return header;
}

/** The position of `offset` inside its pad's bytes, or nothing when it is not a pad's byte. */
std::optional<int> positionInPad (int offset)
{
    const auto first = sectionOffset (ControlType::Pad);
    const auto size = bytesPerControl (ControlType::Pad);
    if (offset < first || offset >= first + size * controlCount (ControlType::Pad))
        return std::nullopt;
    return (offset - first) % size;
}

/** A pad's byte +3 means "Curve" (stored 0 to 7) in mode "Note" (mode value 0) and a 0 to 127
    value in every other mode. Returns the offset of the pad's mode byte when `offset` is such a
    byte. */
std::optional<int> padModeOffsetForModeDependentByte (int offset)
{
    constexpr int modeDependentByte = 3;
    if (positionInPad (offset) != modeDependentByte)
        return std::nullopt;
    return offset - modeDependentByte;
}

bool isPadModeByte (int offset)
{
    return positionInPad (offset) == 0;
}

bool isCurveBinding (ParameterValue& binding)
{
    return binding.getParameterName().endsWith (" " + padParameterLabel (padCurve));
}

constexpr int padNoteMode = 0;
} // namespace

PresetController::PresetController (int presetDataLength, MidiManager& manager) : midiManager (&manager)
{
    presetData.insertMultiple (0, 0, presetDataLength);
    midiManager->addListener (this);
}

PresetController::~PresetController()
{
    detach();
}

void PresetController::detach()
{
    if (! detached)
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

    if (isPadModeByte (offset) && stored == padNoteMode)
        takeCurveIntoModeDependentByte (offset);
}

void PresetController::takeCurveIntoModeDependentByte (int padModeOffset)
{
    // A pad switched to "Note" reads its byte +3 as the curve; the byte may still hold a value of
    // another mode that no curve can take, and such a preset would be refused when loaded again.
    // The byte takes the value the "Curve" box shows, which is what the user sees.
    const auto curveOffset = padModeOffset + 3;
    const auto bound = boundValues.find (curveOffset);
    if (bound == boundValues.end())
        return;
    for (auto* binding : bound->second)
        if (isCurveBinding (*binding))
            presetData.set (curveOffset, static_cast<juce::uint8> (static_cast<int> (binding->getValue()) & 0xFF));
}

void PresetController::sendPresetToHardware()
{
    if (! midiManager->isOutputOpen())
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

    if (! midiManager->isInputOpen() || ! midiManager->isOutputOpen())
    {
        showNoDeviceAlert();
        return;
    }

    const auto request = createRequestMessage();
    const juce::ScopedLock lock (replyLock);
    retryCount = 0;
    awaitingReply = true;
    startTimer (firstReplyTimeoutMs);
    midiManager->sendMessage (request);
}

bool PresetController::isGetInProgress() const
{
    const juce::ScopedLock lock (replyLock);
    return awaitingReply || pendingReply.has_value();
}

void PresetController::timerCallback()
{
    bool gaveUp = false;
    {
        // Decided under the lock the MIDI thread takes a reply under: either the reply was taken
        // before this step (then nothing more is sent and no failure follows) or after it.
        const juce::ScopedLock lock (replyLock);
        if (! awaitingReply)
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
        else
        {
            ++retryCount;
            midiManager->sendMessage (createRequestMessage());
            startTimer (retryIntervalMs);
        }
    }
    if (gaveUp)
        showGetPresetFailedAlert();
}

bool PresetController::isReplyHeader (const juce::MidiMessage& message) const
{
    if (! message.isSysEx())
        return false;
    const auto size = message.getSysExDataSize();
    const auto& header = replyHeader();
    return size > 0 && size >= header.size() && std::equal (header.begin(), header.end(), message.getSysExData());
}

void PresetController::midiMessageReceived (const juce::MidiMessage& message)
{
    if (! awaitingReply || ! isReplyHeader (message))
        return;

    {
        const juce::ScopedLock lock (replyLock);
        if (! awaitingReply)
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
    if (! reply.has_value())
        return;

    stopTimer();
    retryCount = 0;

    // A reply cut short carries no whole image; nothing beyond the message is read.
    const auto payloadStart = static_cast<int> (replyHeader().size());
    if (reply->getSysExDataSize() < payloadStart + presetData.size())
    {
        showInvalidMidiMessageAlert();
        return;
    }

    const juce::Array<juce::uint8> payload (reply->getSysExData() + payloadStart, presetData.size());
    if (loadPresetData (payload))
        showGetPresetSucceededAlert();
    else
        showInvalidMidiMessageAlert();
}

juce::Array<juce::uint8> PresetController::createDumpData() const
{
    auto data = createDumpHeader();
    data.addArray (presetData);
    return data;
}

bool PresetController::loadPresetData (const juce::Array<juce::uint8>& data)
{
    if (! validatePresetData (data))
        return false;

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
    return true;
}

bool PresetController::validatePresetData (const juce::Array<juce::uint8>& data) const
{
    if (data.size() != presetData.size())
        return false;

    for (const auto& [offset, bindings] : boundValues)
    {
        const int byte = data[offset];
        for (auto* binding : bindings)
        {
            if (! isCheckedInPreset (*binding, offset, data))
                continue;
            if (byte < binding->getMinimum (true) || byte > binding->getMaximum (true))
                return false;
        }
    }
    return true;
}

bool PresetController::isCheckedInPreset (ParameterValue& binding, int offset, const juce::Array<juce::uint8>& data)
{
    // A byte with several meanings is checked against the meaning the preset's own mode selects.
    const auto modeOffset = padModeOffsetForModeDependentByte (offset);
    if (! modeOffset.has_value())
        return true;
    const bool noteMode = data[*modeOffset] == padNoteMode;
    return isCurveBinding (binding) == noteMode;
}

bool PresetController::saveToFile (const juce::File& file)
{
    auto message = createDumpData();
    message.insert (0, 0xF0);
    message.add (0xF7);
    const auto result =
        AtomicFile::replaceContent (file, message.getRawDataPointer(), static_cast<size_t> (message.size()));
    if (result.wasOk())
        return true;
    showSaveFailedAlert (file, result.getErrorMessage());
    return false;
}

bool PresetController::loadFromFile (const juce::File& file)
{
    if (! file.existsAsFile() || file.getSize() != presetDumpMessageSize)
    {
        showInvalidFileAlert();
        return false;
    }

    juce::MemoryBlock content;
    if (! file.loadFileAsData (content) || static_cast<int> (content.getSize()) != presetDumpMessageSize)
    {
        showInvalidFileAlert();
        return false;
    }

    const auto* bytes = static_cast<const juce::uint8*> (content.getData());
    auto expected = createDumpHeader();
    expected.insert (0, 0xF0);
    if (! std::equal (expected.begin(), expected.end(), bytes))
    {
        showInvalidFileAlert();
        return false;
    }

    const juce::Array<juce::uint8> payload (bytes + expected.size(), presetData.size());
    if (! loadPresetData (payload))
    {
        showInvalidFileAlert();
        return false;
    }
    return true;
}

void PresetController::showNoDeviceAlert()
{
    Dialogs::get().showAlert ("No MIDI Device selected.", "Please select a device using the Device Setup option.");
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
    Dialogs::get().showAlert ("File Not Saved", "The preset could not be written to \"" + file.getFullPathName()
                                                    + "\":\r\n" + reason);
}

std::unique_ptr<PresetController> createPresetController (MidiManager& midiManager)
{
    auto controller = std::make_unique<PresetController> (presetDataLength(), midiManager);
    controller->addParameterOffsets (presetLayout());
    return controller;
}
