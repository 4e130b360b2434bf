#include "midi/PresetSender.h"

#include "midi/PresetTransfer.h"

#include <cmath>

PresetSender::PresetSender (MidiManager& manager, std::unique_ptr<TransferTimer> wakeTimer, Clock clockMs)
    : midi (manager), timer (std::move (wakeTimer)), clock (std::move (clockMs))
{
    jassert (timer != nullptr && clock != nullptr);
    timer->onTick = [this] { tick(); };
}

PresetSender::~PresetSender()
{
    timer->stop();
}

bool PresetSender::send (const PresetCodec::Image& image, Client& client)
{
    if (!midi.isOutputOpen())
        return false;
    take (image, client, true);
    return true;
}

void PresetSender::changed (const PresetCodec::Image& image, Client& client)
{
    if (!sendingChanges)
        return;
    schedule.changed (clock());
    take (image, client, false);
}

void PresetSender::take (const PresetCodec::Image& image, Client& client, bool atOnce)
{
    // A newer preset replaces the waiting one; a Send Preset waiting keeps its hurry.
    const auto hurried = atOnce || (waiting.has_value() && waiting->atOnce);
    waiting = Waiting{image, &client, hurried};
    settlesAt.reset();
    tick();
}

void PresetSender::setSendingChanges (bool shouldSend)
{
    sendingChanges = shouldSend;
    if (shouldSend)
        return;
    // A change waiting goes no further; a Send Preset waiting still goes.
    schedule.clear();
    if (waiting.has_value() && !waiting->atOnce)
        waiting.reset();
    rearm();
}

void PresetSender::getStarted()
{
    ++getsRunning;
    rearm();
}

void PresetSender::getEnded()
{
    jassert (getsRunning > 0);
    getsRunning = juce::jmax (0, getsRunning - 1);
    tick();
}

bool PresetSender::select (const PresetCodec::Image& image, Client& client)
{
    if (!midi.isOutputOpen())
        return false;
    schedule.changed (clock());
    take (image, client, false);
    return true;
}

void PresetSender::dropWaiting (Client& client)
{
    if (!waiting.has_value() || waiting->client != &client)
        return;
    waiting.reset();
    schedule.clear();
    rearm();
}

void PresetSender::forget (Client& client)
{
    if (waiting.has_value() && waiting->client == &client)
    {
        waiting.reset();
        schedule.clear();
    }
    if (lastClient == &client)
    {
        lastClient = nullptr;
        settlesAt.reset();
    }
    rearm();
}

std::optional<double> PresetSender::sendDueAt() const
{
    if (!waiting.has_value() || getsRunning > 0)
        return std::nullopt;
    return waiting->atOnce ? schedule.wireFreeAt() : schedule.dueAt();
}

std::optional<double> PresetSender::nextWake() const
{
    const auto due = sendDueAt();
    if (due.has_value() && settlesAt.has_value())
        return juce::jmin (*due, *settlesAt);
    return due.has_value() ? due : settlesAt;
}

void PresetSender::tick()
{
    const auto now = clock();
    if (const auto due = sendDueAt(); due.has_value() && now >= *due)
        sendWaiting (now);
    if (settlesAt.has_value() && now >= *settlesAt && !waiting.has_value())
        settle();
    rearm();
}

void PresetSender::rearm()
{
    const auto wake = nextWake();
    if (!wake.has_value())
    {
        timer->stop();
        return;
    }
    // The framework's timer counts whole milliseconds; waking a little late never sends early.
    timer->start (juce::jmax (1, static_cast<int> (std::ceil (*wake - clock()))));
}

void PresetSender::sendWaiting (double now)
{
    auto sending = std::move (*waiting);
    waiting.reset();

    if (!midi.isOutputOpen())
    {
        schedule.clear();
        if (sending.atOnce || !sendingChanges)
        {
            // The output went away while a Send Preset or a selection waited for the wire.
            showMidiError();
            return;
        }
        // One alert for the whole burst: with sending off, the edits that follow send nothing.
        sendingChanges = false;
        if (onSendingChangesFailed != nullptr)
            onSendingChangesFailed();
        return;
    }

    const auto message = PresetTransfer::createDumpMessage (sending.image);
    midi.sendMessage (message);
    schedule.sent (now, message.getRawDataSize());
    ++dumpsSent;

    lastSent = std::move (sending.image);
    lastClient = sending.client;
    // A Send Preset is its own burst; a change's burst ends once no newer one came for a pause.
    settlesAt = sending.atOnce ? now : now + SendSchedule::quietMs;
    if (lastClient != nullptr)
        lastClient->presetSent (midi.getOutputDeviceName());
}

void PresetSender::settle()
{
    settlesAt.reset();
    if (auto* client = std::exchange (lastClient, nullptr))
        client->sendingSettled (lastSent);
}
