#pragma once

#include "midi/PresetSender.h"
#include "midi/PresetTransfer.h"
#include "preset/PresetModel.h"

#include <functional>
#include <memory>
#include <optional>

/** A document's transfers with the controller and the alerts that tell how each ended: a send, a
    get whose preset the document takes, a compare, which gets the controller's preset into one
    of its own and leaves the document's as it is, and a verify, which gets it back after a send
    and checks it against what was sent.

    Sends go through a PresetSender shared by every document (or one of its own when none is
    given), which holds them while this document's get, compare or verify runs.

    Message thread; the transfer takes a reply from the MIDI thread and reports here (see
    PresetTransfer).
*/
class PresetTransferFlow final : private PresetSender::Client
{
public:
    /** The sender is not owned; null gives the flow a sender of its own. */
    PresetTransferFlow (MidiManager& midiManager, std::unique_ptr<TransferTimer> timer,
                        PresetSender* sharedSender = nullptr);
    ~PresetTransferFlow() override;

    /** Sends the preset's dump; a dump that went out is told to onSent, not in an alert. */
    void send (const PresetCodec::Image& image);
    /** A committed change of the document's preset, sent while sending changes is on. */
    void presetChanged (const PresetCodec::Image& image);
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
    /** The controller gave back exactly what was sent last. */
    std::function<void()> onVerified;
    /** What was sent last, and what the controller gave back instead: nothing when it did not
        answer or its answer was no valid preset. */
    std::function<void (const PresetModel& sentPreset, const std::optional<PresetModel>& controllerPreset)>
        onVerifyFailed;

    /** Stops listening to MIDI and ends a get in progress without a word. */
    void detach();

    bool isAwaitingReply() const noexcept { return transfer.isAwaitingReply(); }
    int getRetryCount() const noexcept { return transfer.getRetryCount(); }
    PresetSender& getSender() noexcept { return sender; }

private:
    /** What the transfer's current get is for. */
    enum class Purpose
    {
        get,
        compare,
        verify
    };

    void presetSent (const juce::String& outputName) override;
    void sendingSettled (const PresetCodec::Image& image) override;

    void startGet (Purpose purpose);
    void getFinished (const PresetTransfer::Result& result);
    void compareFinished (const PresetTransfer::Result& result);
    void verifyFinished (const PresetTransfer::Result& result);
    /** The get no longer holds the sender; once per get. */
    void releaseSender();

    MidiManager& midi;
    std::unique_ptr<PresetSender> ownSender;
    PresetSender& sender;
    PresetTransfer transfer;
    Purpose purpose = Purpose::get;
    bool holdingSender = false;
    // What a verify checks the controller's answer against.
    PresetCodec::Image verifying;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetTransferFlow)
};
