#include "preset/PresetTransferFlow.h"

#include "midi/TransferAlerts.h"

PresetTransferFlow::PresetTransferFlow (MidiManager& midiManager, std::unique_ptr<TransferTimer> timer,
                                        PresetSender* sharedSender)
    : midi (midiManager),
      ownSender (sharedSender == nullptr ? std::make_unique<PresetSender> (midiManager) : nullptr),
      sender (sharedSender != nullptr ? *sharedSender : *ownSender), transfer (midiManager, std::move (timer))
{
    transfer.onGetFinished = [this] (const PresetTransfer::Result& result) { getFinished (result); };
}

PresetTransferFlow::~PresetTransferFlow()
{
    detach();
}

void PresetTransferFlow::detach()
{
    transfer.detach();
    releaseSender();
    sender.forget (*this);
}

void PresetTransferFlow::send (const PresetCodec::Image& image)
{
    // A send is shown on the page once it went out, not in an alert.
    if (!sender.send (image, *this))
        TransferAlerts::show (PresetTransfer::Outcome::noDevice);
}

void PresetTransferFlow::presetChanged (const PresetCodec::Image& image)
{
    sender.changed (image, *this);
}

void PresetTransferFlow::presetSent (const juce::String& outputName)
{
    if (onSent != nullptr)
        onSent (outputName);
}

void PresetTransferFlow::sendingSettled (const PresetCodec::Image& image)
{
    // Only the last send of a burst is checked, so a verify never holds up the edits behind it.
    if (!sender.isVerifying())
        return;
    verifying = image;
    startGet (Purpose::verify);
}

void PresetTransferFlow::get()
{
    startGet (Purpose::get);
}

void PresetTransferFlow::compare()
{
    startGet (Purpose::compare);
}

void PresetTransferFlow::startGet (Purpose newPurpose)
{
    if (transfer.isGetInProgress())
        return;
    purpose = newPurpose;
    holdingSender = true;
    sender.getStarted();
    transfer.get();
}

void PresetTransferFlow::releaseSender()
{
    if (std::exchange (holdingSender, false))
        sender.getEnded();
}

void PresetTransferFlow::getFinished (const PresetTransfer::Result& result)
{
    const auto finished = std::exchange (purpose, Purpose::get);
    if (finished == Purpose::compare)
        compareFinished (result);
    else if (finished == Purpose::verify)
        verifyFinished (result);
    else if (result.outcome == PresetTransfer::Outcome::received &&
             (onReceived == nullptr || !onReceived (result.image)))
        TransferAlerts::show (PresetTransfer::Outcome::invalidReply);
    else
    {
        // The document now holds the controller's preset: an edit that waited for the get is
        // not what it holds any more, and sent now it would undo the get on the controller.
        if (result.outcome == PresetTransfer::Outcome::received)
            sender.dropWaiting (*this);
        TransferAlerts::show (result.outcome);
    }
    // A change that waited goes out once this get's outcome is known.
    releaseSender();
}

void PresetTransferFlow::compareFinished (const PresetTransfer::Result& result)
{
    PresetModel controllerPreset;
    if (result.outcome != PresetTransfer::Outcome::received || controllerPreset.load (result.image).failed())
    {
        TransferAlerts::show (result.outcome == PresetTransfer::Outcome::received
                                  ? PresetTransfer::Outcome::invalidReply
                                  : result.outcome);
        return;
    }
    if (onCompared != nullptr)
        onCompared (controllerPreset);
}

void PresetTransferFlow::verifyFinished (const PresetTransfer::Result& result)
{
    // The output went away: the MIDI error says so, as for a get.
    if (result.outcome == PresetTransfer::Outcome::midiError)
    {
        TransferAlerts::show (result.outcome);
        return;
    }

    PresetModel sentPreset;
    if (sentPreset.load (verifying).failed())
        return;
    std::optional<PresetModel> controllerPreset;
    if (result.outcome == PresetTransfer::Outcome::received)
        if (PresetModel answer; answer.load (result.image).wasOk())
            controllerPreset = std::move (answer);

    if (controllerPreset.has_value() && controllerPreset->getImage() == verifying)
    {
        if (onVerified != nullptr)
            onVerified();
        return;
    }
    if (onVerifyFailed != nullptr)
        onVerifyFailed (sentPreset, controllerPreset);
}
