#include "midi/TransferAlerts.h"

#include "preset/Dialogs.h"

namespace
{
struct Alert
{
    PresetTransfer::Outcome outcome;
    const char* title;
    const char* message;
};

using Outcome = PresetTransfer::Outcome;

const Alert alerts[] = {
    {Outcome::received, "MIDI Get Sucess", "Preset sucessfully retrieved from hardware."},
    {Outcome::timedOut, "MIDI Get Preset Unsuccessful", "Verify MIDI device settings and try again."},
    {Outcome::invalidReply, "Invalid MIDI Message", "Verify MIDI Connection and Device Settings"},
    {Outcome::noDevice, "No MIDI Device selected.", "Please select a device using the Device Setup option."},
};
} // namespace

void TransferAlerts::show (PresetTransfer::Outcome outcome)
{
    if (outcome == Outcome::midiError)
    {
        showMidiError();
        return;
    }
    for (const auto& alert : alerts)
        if (alert.outcome == outcome)
            Dialogs::get().showAlert (alert.title, alert.message);
}
