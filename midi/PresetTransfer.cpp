#include "midi/PresetTransfer.h"

#include "preset/PresetMessages.h"

namespace
{
juce::MidiMessage createRequestMessage()
{
    const auto header = createRequestHeader();
    return juce::MidiMessage::createSysExMessage (header.getRawDataPointer(), header.size());
}
} // namespace

PresetTransfer::PresetTransfer (MidiManager& manager, std::unique_ptr<TransferTimer> stepTimer)
    : midiManager (manager), timer (std::move (stepTimer))
{
    jassert (timer != nullptr);
    PresetCodec::isReply ({});
    timer->onTick = [this] { step(); };
    midiManager.addListener (this);
    midiManager.addConnectionListener (this);
}

PresetTransfer::~PresetTransfer()
{
    detach();
}

void PresetTransfer::detach()
{
    if (!detached)
    {
        midiManager.removeListener (this);
        midiManager.removeConnectionListener (this);
    }
    detached = true;
    timer->stop();
    {
        const juce::ScopedLock lock (replyLock);
        awaitingReply = false;
        pendingReply.reset();
        replyDuringRequest.reset();
    }
    replyWatch.stopTimer();
    retryCount = 0;
}

juce::Array<juce::uint8> PresetTransfer::createDumpData (const PresetCodec::Image& image)
{
    auto data = createDumpHeader();
    data.addArray (image);
    return data;
}

juce::MidiMessage PresetTransfer::createDumpMessage (const PresetCodec::Image& image)
{
    const auto data = createDumpData (image);
    return juce::MidiMessage::createSysExMessage (data.getRawDataPointer(), data.size());
}

PresetTransfer::Outcome PresetTransfer::send (const PresetCodec::Image& image)
{
    if (!midiManager.isOutputOpen())
        return Outcome::noDevice;
    midiManager.sendMessage (createDumpMessage (image));
    return Outcome::sent;
}

void PresetTransfer::get()
{
    if (timer->isRunning() || isGetInProgress())
        return;

    if (!midiManager.isInputOpen() || !midiManager.isOutputOpen())
    {
        finish ({Outcome::noDevice, {}});
        return;
    }

    {
        const juce::ScopedLock lock (replyLock);
        retryCount = 0;
        awaitingReply = true;
        requestGoingOut = true;
    }
    replyWatch.startTimer (replyWatchMs);
    sendRequest();
    // The wait for the answer starts once the request is out, as each repeat's does.
    timer->start (firstReplyTimeoutMs);
}

void PresetTransfer::sendRequest()
{
    // Sent without the lock, so a reply arriving meanwhile never waits for the output. It is kept
    // aside until the request is out and only then taken: no request follows a taken reply.
    midiManager.sendMessage (createRequestMessage());

    const juce::ScopedLock lock (replyLock);
    requestGoingOut = false;
    if (awaitingReply && replyDuringRequest.has_value())
    {
        awaitingReply = false;
        pendingReply = std::move (replyDuringRequest);
    }
    replyDuringRequest.reset();
}

bool PresetTransfer::isGetInProgress() const
{
    const juce::ScopedLock lock (replyLock);
    return awaitingReply || pendingReply.has_value();
}

void PresetTransfer::step()
{
    std::optional<Outcome> ended;
    {
        // Decided under the lock the MIDI thread takes a reply under: either the reply was taken
        // before this step (then nothing more is sent and no failure follows) or after it.
        const juce::ScopedLock lock (replyLock);
        if (!awaitingReply)
        {
            timer->stop();
            return;
        }
        if (retryCount > maxRetries - 1)
            ended = Outcome::timedOut;
        else if (!midiManager.isOutputOpen())
            // The output went away during the get (Device Setup, a pulled cable): one error says
            // so, and repeating into nothing would only stack more of them.
            ended = Outcome::midiError;

        if (ended.has_value())
        {
            timer->stop();
            retryCount = 0;
            awaitingReply = false;
        }
        else
        {
            ++retryCount;
            requestGoingOut = true;
        }
    }
    if (ended.has_value())
    {
        finish ({*ended, {}});
        return;
    }
    sendRequest();
    timer->start (retryIntervalMs);
}

void PresetTransfer::deviceLeft()
{
    // A device that left while the controller was asked will not answer: waiting out the repeats
    // would only keep the user waiting for the time-out.
    if (!midiManager.isInputOpen() || !midiManager.isOutputOpen())
        endGet (Outcome::midiError);
}

bool PresetTransfer::endGet (Outcome outcome)
{
    {
        const juce::ScopedLock lock (replyLock);
        if (!awaitingReply || requestGoingOut)
            return false;
        awaitingReply = false;
        retryCount = 0;
    }
    timer->stop();
    finish ({outcome, {}});
    return true;
}

void PresetTransfer::midiMessageReceived (const juce::MidiMessage& message)
{
    if (!awaitingReply || !PresetCodec::isReply (message))
        return;

    {
        const juce::ScopedLock lock (replyLock);
        if (!awaitingReply)
            return;
        if (requestGoingOut)
        {
            // Taken once the request is out; the first reply is the one taken.
            if (!replyDuringRequest.has_value())
                replyDuringRequest.emplace (message);
            return;
        }
        awaitingReply = false;
        pendingReply.emplace (message);
    }
}

PresetTransfer::KeptReply::KeptReply (const juce::MidiMessage& message)
    : size (juce::jmin (message.getRawDataSize(), static_cast<int> (std::tuple_size_v<decltype (bytes)>)))
{
    std::copy_n (message.getRawData(), size, bytes.begin());
}

void PresetTransfer::applyPendingReply()
{
    std::optional<KeptReply> reply;
    {
        const juce::ScopedLock lock (replyLock);
        reply.swap (pendingReply);
    }
    if (!reply.has_value())
        return;

    timer->stop();
    retryCount = 0;

    Result result{Outcome::received, {}};
    if (PresetCodec::decodeReply (reply->toMessage(), result.image).failed())
        result = {Outcome::invalidReply, {}};
    finish (std::move (result));
}

void PresetTransfer::finish (Result result)
{
    replyWatch.stopTimer();
    if (onGetFinished != nullptr)
        onGetFinished (result);
}
