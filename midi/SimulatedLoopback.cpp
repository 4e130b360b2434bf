#include "midi/SimulatedLoopback.h"

#include <algorithm>
#include <vector>

/** Shared by the loopback and its ports, so a port that outlives the service never reaches a
    deleted cable. */
class SimulatedLoopback::Cable final
{
public:
    class InputPort;
    class OutputPort;

    void carry (const juce::MidiMessage& message)
    {
        const juce::ScopedLock lock (listening);
        for (auto* callback : started)
            callback->handleIncomingMidiMessage (nullptr, message);
    }

    void start (juce::MidiInputCallback* callback)
    {
        const juce::ScopedLock lock (listening);
        started.push_back (callback);
    }

    /** Waits for a message on its way, so the callback is never used after this returns. */
    void stop (juce::MidiInputCallback* callback)
    {
        const juce::ScopedLock lock (listening);
        started.erase (std::remove (started.begin(), started.end(), callback), started.end());
    }

private:
    juce::CriticalSection listening;
    std::vector<juce::MidiInputCallback*> started;
};

class SimulatedLoopback::Cable::InputPort final : public MidiPorts::Input
{
public:
    InputPort (std::shared_ptr<Cable> loop, juce::MidiInputCallback& receiver)
        : cable (std::move (loop)), callback (receiver)
    {
    }
    ~InputPort() override { cable->stop (&callback); }
    void start() override { cable->start (&callback); }

private:
    std::shared_ptr<Cable> cable;
    juce::MidiInputCallback& callback;
};

class SimulatedLoopback::Cable::OutputPort final : public MidiPorts::Output
{
public:
    explicit OutputPort (std::shared_ptr<Cable> loop) : cable (std::move (loop)) {}
    void sendMessageNow (const juce::MidiMessage& message) override { cable->carry (message); }

private:
    std::shared_ptr<Cable> cable;
};

SimulatedLoopback::SimulatedLoopback() : cable (std::make_shared<Cable>()) {}

SimulatedLoopback::~SimulatedLoopback() = default;

std::unique_ptr<MidiPorts::Input> SimulatedLoopback::openInput (int index, juce::MidiInputCallback& callback)
{
    return index == 0 ? std::make_unique<Cable::InputPort> (cable, callback) : nullptr;
}

std::unique_ptr<MidiPorts::Output> SimulatedLoopback::openOutput (int index)
{
    return index == 0 ? std::make_unique<Cable::OutputPort> (cable) : nullptr;
}
