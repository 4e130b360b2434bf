#pragma once

#include "midi/PresetTransfer.h"
#include "preset/PresetModel.h"

#include <functional>

/** A document's transfers with the controller and the alerts that tell how each ended: a send, a
    get whose preset the document takes, and a compare, which gets the controller's preset into
    one of its own and leaves the document's as it is.

    Message thread; the transfer takes a reply from the MIDI thread and reports here (see
    PresetTransfer).
*/
class PresetTransferFlow
{
public:
    PresetTransferFlow (MidiManager& midiManager, std::unique_ptr<TransferTimer> timer);

    /** Sends the preset's dump; a dump that went out is told to onSent, not in an alert. */
    void send (const PresetCodec::Image& image);
    /** Starts a get; refused without a word while a get or a compare runs. */
    void get();
    /** Gets the controller's preset as a get does (request, repeats, time-out, alerts) and hands
        it to onCompared; refused without a word while a get or a compare runs. */
    void compare();

    /** The preset a get received, before its alert: false when the document refused it, which the
        alert then calls an invalid message. */
    std::function<bool (const PresetCodec::Image& image)> onReceived;
    /** The controller's preset after a compare. */
    std::function<void (const PresetModel& controllerPreset)> onCompared;
    /** After the dump went out, with the output it went to. */
    std::function<void (const juce::String& outputName)> onSent;

    /** Stops listening to MIDI and ends a get in progress without a word. */
    void detach() { transfer.detach(); }

    bool isAwaitingReply() const noexcept { return transfer.isAwaitingReply(); }
    int getRetryCount() const noexcept { return transfer.getRetryCount(); }

private:
    void getFinished (const PresetTransfer::Result& result);
    void compareFinished (const PresetTransfer::Result& result);

    MidiManager& midi;
    PresetTransfer transfer;
    // Whether the transfer's current get is a compare: its preset goes to onCompared.
    bool comparing = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetTransferFlow)
};
