#include "preset/PresetTransferFlow.h"

#include "midi/TransferAlerts.h"

PresetTransferFlow::PresetTransferFlow (MidiManager& midiManager, std::unique_ptr<TransferTimer> timer)
    : midi (midiManager), transfer (midiManager, std::move (timer))
{
    transfer.onGetFinished = [this] (const PresetTransfer::Result& result) { getFinished (result); };
}

void PresetTransferFlow::send (const PresetCodec::Image& image)
{
    const auto outcome = transfer.send (image);
    // A send is shown on the page, not in an alert.
    if (outcome == PresetTransfer::Outcome::sent && onSent != nullptr)
        onSent (midi.getOutputDeviceName());
    TransferAlerts::show (outcome);
}

void PresetTransferFlow::get()
{
    transfer.get();
}

void PresetTransferFlow::compare()
{
    if (transfer.isGetInProgress())
        return;
    comparing = true;
    transfer.get();
}

void PresetTransferFlow::getFinished (const PresetTransfer::Result& result)
{
    if (std::exchange (comparing, false))
    {
        compareFinished (result);
        return;
    }

    if (result.outcome == PresetTransfer::Outcome::received &&
        (onReceived == nullptr || !onReceived (result.image)))
    {
        TransferAlerts::show (PresetTransfer::Outcome::invalidReply);
        return;
    }
    TransferAlerts::show (result.outcome);
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
