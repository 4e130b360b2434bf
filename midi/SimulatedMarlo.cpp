#include "midi/SimulatedMarlo.h"

#include "preset/ControlPlayer.h"
#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"

#include <atomic>
#include <deque>

namespace
{
bool startsWith (const juce::uint8* data, int size, const juce::Array<juce::uint8>& header)
{
    return size >= header.size() && std::equal (header.begin(), header.end(), data);
}

juce::MidiMessage sysex (const juce::Array<juce::uint8>& data)
{
    return juce::MidiMessage::createSysExMessage (data.getRawDataPointer(), data.size());
}
} // namespace

/** The device itself; shared by the SimulatedMarlo and the ports opened on it, so a port that
    outlives the service never reaches a deleted device. */
class SimulatedMarlo::Impl final : private juce::Thread
{
public:
    class InputPort;
    class OutputPort;

    explicit Impl (std::function<double()> clockMs)
        : juce::Thread ("Marlo (simulated)"), preset (factoryPresetData()), ownsTime (clockMs == nullptr),
          clock (ownsTime ? std::function<double()> (&juce::Time::getMillisecondCounterHiRes)
                          : std::move (clockMs))
    {
        if (ownsTime)
            startThread();
    }

    ~Impl() override
    {
        signalThreadShouldExit();
        wakeUp.signal();
        stopThread (2000);
    }

    /** Called on the sender's thread with every message the editor sends. */
    void receive (const juce::MidiMessage& message)
    {
        if (vanished || !message.isSysEx())
            return;
        const auto* data = message.getSysExData();
        const auto size = message.getSysExDataSize();
        if (size == presetHeaderSize && startsWith (data, size, createRequestHeader()))
            answerRequest (message);
        else if (size == presetHeaderSize + presetDataLength() && startsWith (data, size, createDumpHeader()))
            storeDump (message, data + presetHeaderSize);
    }

    /** Delivers what is due now; false when nothing was. */
    bool deliverDue()
    {
        auto due = takeDueMessages();
        for (auto& pending : due)
            deliverInTurn (pending);
        return !due.empty();
    }

    void setActiveInput (InputPort* port, juce::MidiInputCallback* callback)
    {
        const juce::ScopedLock lock (deliveryLock);
        activeInput = port;
        activeCallback = callback;
    }

    /** Waits for a delivery in progress, so the callback is never used after this returns. */
    void forgetInput (InputPort* port)
    {
        const juce::ScopedLock lock (deliveryLock);
        if (activeInput == port)
        {
            activeInput = nullptr;
            activeCallback = nullptr;
        }
    }

    /** Queues played messages behind everything queued before them. */
    juce::Result play (const juce::String& assignment)
    {
        std::vector<juce::MidiMessage> messages;
        const juce::ScopedLock lock (stateLock);
        const auto result = player.play (preset, assignment, messages);
        const auto now = clock();
        for (auto& message : messages)
            queue.push_back ({now, std::move (message), true});
        pendingPlays += static_cast<int> (messages.size());
        wakeUp.signal();
        return result;
    }

    void deliver (const juce::MidiMessage& message)
    {
        const juce::ScopedLock lock (deliveryLock);
        if (activeCallback != nullptr && !vanished)
            activeCallback->handleIncomingMidiMessage (nullptr, message);
    }

    juce::CriticalSection stateLock;
    juce::Array<juce::uint8> preset;
    ControlPlayer player;
    std::function<bool()> roomCheck;
    int pendingPlays = 0;
    Behaviour behaviour = Behaviour::answer;
    int answerFrom = 1;
    int latencyMs = 20;
    int requestCount = 0;
    int dumpCount = 0;
    int droppedDumps = 0;
    std::atomic<bool> vanished{false};
    juce::WaitableEvent wakeUp;

private:
    struct Pending
    {
        double due;
        juce::MidiMessage message;
        bool played = false;
    };

    /** When a message sent now has come in, behind everything sent before it. Under the lock. */
    double arrivalOf (const juce::MidiMessage& message)
    {
        inputFreeAt = juce::jmax (clock(), inputFreeAt) + wireTimeMs (message);
        return inputFreeAt;
    }

    void answerRequest (const juce::MidiMessage& request)
    {
        const juce::ScopedLock lock (stateLock);
        ++requestCount;
        const auto heard = arrivalOf (request) + latencyMs;
        if (behaviour == Behaviour::silent || requestCount < answerFrom)
            return;
        for (auto& message : answerFor (behaviour))
        {
            // The reply is whole only once its last byte is out, after whatever went out before it.
            outputFreeAt = juce::jmax (heard, outputFreeAt) + wireTimeMs (message);
            queue.push_back ({outputFreeAt, std::move (message), false});
        }
        wakeUp.signal();
    }

    std::vector<juce::MidiMessage> answerFor (Behaviour kind) const
    {
        auto reply = createReplyHeader();
        auto payload = preset;
        switch (kind)
        {
            case Behaviour::outOfRangeByte:
                payload.set (2, 127); // the keybed's channel holds 0 to 15
                break;
            case Behaviour::shortReply:
                payload.removeRange (50, payload.size());
                break;
            case Behaviour::extraBytes:
                payload.addArray (juce::Array<juce::uint8>{0x01, 0x02, 0x03});
                break;
            case Behaviour::foreignSysexFirst:
            case Behaviour::answer:
            case Behaviour::silent:
                break;
        }
        reply.addArray (payload);

        std::vector<juce::MidiMessage> messages;
        if (kind == Behaviour::foreignSysexFirst)
            messages.push_back (sysex ({0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41}));
        messages.push_back (sysex (reply));
        return messages;
    }

    /** Taken at once when the buffer has room (a reply to a later request carries it, as it comes
        in behind it on the cable); dropped when four dumps are still coming in. */
    void storeDump (const juce::MidiMessage& message, const juce::uint8* payload)
    {
        const juce::ScopedLock lock (stateLock);
        const auto now = clock();
        while (!waitingDumps.empty() && waitingDumps.front() <= now)
            waitingDumps.pop_front();
        if (static_cast<int> (waitingDumps.size()) >= maxWaitingDumps)
        {
            ++droppedDumps;
            return;
        }
        waitingDumps.push_back (arrivalOf (message));
        preset = juce::Array<juce::uint8> (payload, presetDataLength());
        ++dumpCount;
    }

    void run() override
    {
        while (!threadShouldExit())
            if (!deliverDue())
                wakeUp.wait (nextWaitMs());
    }

    std::vector<Pending> takeDueMessages()
    {
        const juce::ScopedLock lock (stateLock);
        std::vector<Pending> due;
        const auto now = clock();
        while (!queue.empty() && queue.front().due <= now)
        {
            due.push_back (std::move (queue.front()));
            queue.pop_front();
        }
        return due;
    }

    void deliverInTurn (const Pending& pending)
    {
        if (pending.played)
            waitForRoom();
        deliver (pending.message);
        if (pending.played)
        {
            const juce::ScopedLock lock (stateLock);
            --pendingPlays;
        }
    }

    void waitForRoom()
    {
        while (!threadShouldExit())
        {
            {
                const juce::ScopedLock lock (stateLock);
                if (roomCheck == nullptr || roomCheck())
                    return;
            }
            wakeUp.wait (1);
        }
    }

    int nextWaitMs()
    {
        const juce::ScopedLock lock (stateLock);
        if (queue.empty())
            return 100;
        return juce::jmax (1, static_cast<int> (queue.front().due - clock()));
    }

    const bool ownsTime;
    const std::function<double()> clock;
    std::deque<Pending> queue;
    /** When the cable from the editor, and the one back to it, are free again. */
    double inputFreeAt = 0.0;
    double outputFreeAt = 0.0;
    /** When each dump still in the input buffer will have come in. */
    std::deque<double> waitingDumps;
    juce::CriticalSection deliveryLock;
    InputPort* activeInput = nullptr;
    juce::MidiInputCallback* activeCallback = nullptr;
};

class SimulatedMarlo::Impl::InputPort final : public MidiPorts::Input
{
public:
    InputPort (std::shared_ptr<Impl> marlo, juce::MidiInputCallback& receiver)
        : device (std::move (marlo)), callback (receiver)
    {
    }

    ~InputPort() override { device->forgetInput (this); }

    void start() override { device->setActiveInput (this, &callback); }

private:
    std::shared_ptr<Impl> device;
    juce::MidiInputCallback& callback;
};

class SimulatedMarlo::Impl::OutputPort final : public MidiPorts::Output
{
public:
    explicit OutputPort (std::shared_ptr<Impl> marlo) : device (std::move (marlo)) {}

    void sendMessageNow (const juce::MidiMessage& message) override { device->receive (message); }

private:
    std::shared_ptr<Impl> device;
};

SimulatedMarlo::SimulatedMarlo() : SimulatedMarlo (nullptr) {}

SimulatedMarlo::SimulatedMarlo (std::function<double()> clockMs)
    : impl (std::make_shared<Impl> (std::move (clockMs)))
{
}

void SimulatedMarlo::deliverDue()
{
    impl->deliverDue();
}

double SimulatedMarlo::wireTimeMs (const juce::MidiMessage& message)
{
    return message.getRawDataSize() * wireMsPerByte;
}

SimulatedMarlo::~SimulatedMarlo() = default;

juce::StringArray SimulatedMarlo::getInputNames()
{
    return impl->vanished ? juce::StringArray() : juce::StringArray (deviceName);
}

juce::StringArray SimulatedMarlo::getOutputNames()
{
    return getInputNames();
}

std::unique_ptr<MidiPorts::Input> SimulatedMarlo::openInput (int index, juce::MidiInputCallback& callback)
{
    if (impl->vanished || index != 0)
        return nullptr;
    return std::make_unique<Impl::InputPort> (impl, callback);
}

std::unique_ptr<MidiPorts::Output> SimulatedMarlo::openOutput (int index)
{
    if (impl->vanished || index != 0)
        return nullptr;
    return std::make_unique<Impl::OutputPort> (impl);
}

void SimulatedMarlo::setBehaviour (Behaviour newBehaviour)
{
    const juce::ScopedLock lock (impl->stateLock);
    impl->behaviour = newBehaviour;
}

void SimulatedMarlo::answerFromRequest (int n)
{
    const juce::ScopedLock lock (impl->stateLock);
    impl->answerFrom = n;
}

void SimulatedMarlo::setLatencyMs (int milliseconds)
{
    const juce::ScopedLock lock (impl->stateLock);
    impl->latencyMs = juce::jmax (0, milliseconds);
}

void SimulatedMarlo::vanish()
{
    impl->vanished = true;
}

void SimulatedMarlo::plugIn()
{
    impl->vanished = false;
}

bool SimulatedMarlo::isPluggedIn() const noexcept
{
    return !impl->vanished;
}

juce::Array<juce::uint8> SimulatedMarlo::getPreset() const
{
    const juce::ScopedLock lock (impl->stateLock);
    return impl->preset;
}

void SimulatedMarlo::setPreset (const juce::Array<juce::uint8>& preset)
{
    const juce::ScopedLock lock (impl->stateLock);
    impl->preset = preset;
}

int SimulatedMarlo::getRequestCount() const
{
    const juce::ScopedLock lock (impl->stateLock);
    return impl->requestCount;
}

int SimulatedMarlo::getDumpCount() const
{
    const juce::ScopedLock lock (impl->stateLock);
    return impl->dumpCount;
}

int SimulatedMarlo::getDroppedDumpCount() const
{
    const juce::ScopedLock lock (impl->stateLock);
    return impl->droppedDumps;
}

juce::Result SimulatedMarlo::play (const juce::String& assignment)
{
    return impl->play (assignment);
}

void SimulatedMarlo::setRoomCheck (std::function<bool()> hasRoom)
{
    const juce::ScopedLock lock (impl->stateLock);
    impl->roomCheck = std::move (hasRoom);
}

void SimulatedMarlo::inject (const juce::MidiMessage& message)
{
    impl->deliver (message);
}

int SimulatedMarlo::getPendingPlayCount() const
{
    const juce::ScopedLock lock (impl->stateLock);
    return impl->pendingPlays;
}
