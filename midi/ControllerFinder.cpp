#include "midi/ControllerFinder.h"

#include "preset/PresetCodec.h"
#include "preset/PresetMessages.h"

#include <algorithm>

namespace
{
const juce::Array<juce::uint8>& requestHeader()
{
    static const auto header = createRequestHeader();
    return header;
}

juce::MidiMessage requestMessage()
{
    return juce::MidiMessage::createSysExMessage (requestHeader().getRawDataPointer(),
                                                  requestHeader().size());
}

bool isRequest (const juce::MidiMessage& message)
{
    const auto& header = requestHeader();
    return message.isSysEx() && message.getSysExDataSize() == header.size() &&
           std::equal (header.begin(), header.end(), message.getSysExData());
}
} // namespace

/** Listens on one input: a port of its own, or the manager's open input through the manager. */
class ControllerFinder::Ear final : public juce::MidiInputCallback, private MidiManager::MidiManagerListener
{
public:
    Ear (ControllerFinder& owner, int inputIndex) : finder (owner), index (inputIndex) {}

    ~Ear() override
    {
        if (throughManager)
            finder.midiManager.removeListener (this);
        port.reset();
    }

    bool open (MidiManager& manager, const juce::String& name)
    {
        if (manager.isInputOpen() && manager.getOpenInputName() == name)
        {
            throughManager = true;
            manager.addListener (this);
            return true;
        }
        port = manager.getPorts().openInput (index, *this);
        if (port != nullptr)
            port->start();
        return port != nullptr;
    }

    void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message) override
    {
        finder.hear (index, message);
    }
    void handlePartialSysexMessage (juce::MidiInput*, const juce::uint8*, int, double) override {}

private:
    void midiMessageReceived (const juce::MidiMessage& message) override { finder.hear (index, message); }

    ControllerFinder& finder;
    const int index;
    bool throughManager = false;
    std::unique_ptr<MidiPorts::Input> port;
};

ControllerFinder::ControllerFinder (MidiManager& manager, std::unique_ptr<TransferTimer> roundTimer)
    : midiManager (manager), timer (std::move (roundTimer))
{
    jassert (timer != nullptr);
    // The headers are made here, once, rather than on an input's thread at its first message.
    isRequest (requestMessage());
    PresetCodec::isReply ({});
    timer->onTick = [this]
    {
        timer->stop();
        if (listeningRound.load() >= 0)
            endRound();
        else
            beginRound();
    };
}

ControllerFinder::~ControllerFinder()
{
    cancel();
}

void ControllerFinder::start (int wait)
{
    if (running)
        return;
    running = true;
    waitMs = juce::jmax (1, wait);
    found.clear();
    candidates.clear();
    loops.clear();
    round = 0;
    confirming = false;

    auto& ports = midiManager.getPorts();
    inputNames = ports.getInputNames();
    outputNames = ports.getOutputNames();
    heardCount = inputNames.size();
    heard = std::make_unique<Heard[]> (static_cast<size_t> (heardCount));
    for (int index = 0; index < inputNames.size(); ++index)
    {
        auto ear = std::make_unique<Ear> (*this, index);
        if (ear->open (midiManager, inputNames[index]))
            ears.push_back (std::move (ear));
    }
    asking.clear();
    for (int index = 0; index < outputNames.size(); ++index)
        asking.push_back (index);
    beginRound();
}

void ControllerFinder::beginRound()
{
    if (round >= asking.size())
    {
        if (confirming || candidates.empty())
        {
            finish();
            return;
        }
        confirmCandidates();
    }
    // A get or compare in flight would take the controller's answer to this request for its own.
    if (isTransferRunning != nullptr && isTransferRunning())
    {
        timer->start (busyRecheckMs);
        return;
    }
    const auto output = asking[round];
    const auto& name = outputNames[output];
    // Counted over both passes: the outputs, then the pairs asked again.
    const auto total = outputNames.size() + (confirming ? static_cast<int> (asking.size()) : 0);
    const auto done = static_cast<int> (round) + (confirming ? outputNames.size() : 0);
    if (onProgress != nullptr)
        onProgress (done, total, name);

    for (int input = 0; input < heardCount; ++input)
    {
        // A reply that came after the last round ended is dropped; one still being copied is
        // waited for here, on this thread, never on the input's.
        auto& entry = heard[static_cast<size_t> (input)];
        auto state = Heard::full;
        while (!entry.replyState.compare_exchange_weak (state, Heard::empty) && state != Heard::empty)
            state = Heard::full;
    }
    listeningRound.store (++lastRound);
    if (midiManager.isOutputOpen() && midiManager.getOpenOutputName() == name)
        midiManager.sendMessage (requestMessage());
    // Ports open by their place in the list: a device that came or went since the search began
    // moves the others, and the request would go to another device under this one's name.
    else if (midiManager.getPorts().getOutputNames()[output] == name &&
             (ownOutput = midiManager.getPorts().openOutput (output)) != nullptr)
        ownOutput->sendMessageNow (requestMessage());
    timer->start (waitMs);
}

void ControllerFinder::hear (int input, const juce::MidiMessage& message)
{
    const auto serial = listeningRound.load();
    if (serial < 0 || !juce::isPositiveAndBelow (input, heardCount))
        return;
    auto& entry = heard[static_cast<size_t> (input)];
    if (isRequest (message))
    {
        entry.echoRound.store (serial);
        return;
    }
    if (!PresetCodec::isReply (message))
        return;
    // The first reply of a round is kept, to be checked on the message thread.
    auto state = Heard::empty;
    if (!entry.replyState.compare_exchange_strong (state, Heard::writing))
        return;
    entry.replySize = juce::jmin (message.getRawDataSize(), Heard::replyCapacity);
    std::copy_n (message.getRawData(), entry.replySize, entry.reply.begin());
    entry.replyRound = serial;
    entry.replyState.store (Heard::full);
}

bool ControllerFinder::takeReply (Heard& entry, int serial)
{
    if (entry.replyState.load() != Heard::full)
        return false;
    const auto current = entry.replyRound == serial;
    const auto message = juce::MidiMessage (entry.reply.data(), entry.replySize);
    entry.replyState.store (Heard::empty);
    PresetCodec::Image image;
    return current && message.isSysEx() && PresetCodec::decodeReply (message, image).wasOk();
}

void ControllerFinder::endRound()
{
    const auto serial = listeningRound.exchange (-1);
    ownOutput.reset();

    const auto& output = outputNames[asking[round]];
    for (int input = 0; input < heardCount; ++input)
    {
        auto& entry = heard[static_cast<size_t> (input)];
        const auto echo = entry.echoRound.load() == serial;
        const auto reply = takeReply (entry, serial) && !echo;
        const Pair pair{inputNames[input], output};
        if (echo)
            loops.addIfNotAlreadyThere (pair.input);
        else if (reply && !confirming)
            candidates.push_back (pair);
        else if (reply && std::find (candidates.begin(), candidates.end(), pair) != candidates.end() &&
                 std::find (found.begin(), found.end(), pair) == found.end())
            found.push_back (pair);
    }
    ++round;
    beginRound();
}

void ControllerFinder::confirmCandidates()
{
    confirming = true;
    round = 0;
    asking.clear();
    for (const auto& pair : candidates)
    {
        const auto output = outputNames.indexOf (pair.output);
        if (std::find (asking.begin(), asking.end(), output) == asking.end())
            asking.push_back (output);
    }
}

void ControllerFinder::finish()
{
    // An input that echoed any request is a loop, even where it also carried a reply: it hears
    // the editor itself, and would hear it again on every get.
    found.erase (std::remove_if (found.begin(), found.end(),
                                 [this] (const Pair& pair) { return loops.contains (pair.input); }),
                 found.end());
    closeAll();
    if (onFinished != nullptr)
        onFinished (found);
}

void ControllerFinder::cancel()
{
    closeAll();
}

void ControllerFinder::closeAll()
{
    timer->stop();
    listeningRound.store (-1);
    // After this no input calls back: each port stops when closed, and the manager's listener
    // is removed under its lock.
    ears.clear();
    ownOutput.reset();
    running = false;
}
