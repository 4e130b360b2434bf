#include "midi/ControllerFinder.h"

#include "preset/PresetCodec.h"
#include "preset/PresetMessages.h"

#include <algorithm>

namespace
{
juce::MidiMessage requestMessage()
{
    const auto header = createRequestHeader();
    return juce::MidiMessage::createSysExMessage (header.getRawDataPointer(), header.size());
}

bool isRequest (const juce::MidiMessage& message)
{
    const auto header = createRequestHeader();
    return message.isSysEx() && message.getSysExDataSize() == header.size() &&
           std::equal (header.begin(), header.end(), message.getSysExData());
}

bool isValidReply (const juce::MidiMessage& message)
{
    PresetCodec::Image image;
    return PresetCodec::isReply (message) && PresetCodec::decodeReply (message, image).wasOk();
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
    timer->onTick = [this]
    {
        timer->stop();
        if (listening)
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
    {
        const juce::ScopedLock lock (heardLock);
        heard.assign (static_cast<size_t> (inputNames.size()), {});
    }
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

    {
        const juce::ScopedLock lock (heardLock);
        std::fill (heard.begin(), heard.end(), Heard{});
        listening = true;
    }
    if (midiManager.isOutputOpen() && midiManager.getOpenOutputName() == name)
        midiManager.sendMessage (requestMessage());
    else if ((ownOutput = midiManager.getPorts().openOutput (output)) != nullptr)
        ownOutput->sendMessageNow (requestMessage());
    timer->start (waitMs);
}

void ControllerFinder::hear (int input, const juce::MidiMessage& message)
{
    const auto echo = isRequest (message);
    const auto reply = !echo && isValidReply (message);
    if (!echo && !reply)
        return;
    const juce::ScopedLock lock (heardLock);
    if (!listening || !juce::isPositiveAndBelow (input, static_cast<int> (heard.size())))
        return;
    auto& entry = heard[static_cast<size_t> (input)];
    entry.echo = entry.echo || echo;
    entry.reply = entry.reply || reply;
}

void ControllerFinder::endRound()
{
    std::vector<Heard> brought;
    {
        const juce::ScopedLock lock (heardLock);
        listening = false;
        brought = heard;
    }
    ownOutput.reset();

    const auto& output = outputNames[asking[round]];
    for (int input = 0; input < inputNames.size(); ++input)
    {
        const auto& what = brought[static_cast<size_t> (input)];
        const Pair pair{inputNames[input], output};
        if (what.echo)
            loops.addIfNotAlreadyThere (pair.input);
        else if (what.reply && !confirming)
            candidates.push_back (pair);
        else if (what.reply && std::find (candidates.begin(), candidates.end(), pair) != candidates.end() &&
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
    {
        const juce::ScopedLock lock (heardLock);
        listening = false;
    }
    // After this no input calls back: each port stops when closed, and the manager's listener
    // is removed under its lock.
    ears.clear();
    ownOutput.reset();
    running = false;
}
