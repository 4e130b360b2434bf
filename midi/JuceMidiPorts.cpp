#include "midi/JuceMidiPorts.h"

#include "platform/midi/MidiService.h"

namespace
{
// The framework's ALSA client is made on the first list or open and goes with the last port,
// without a lock of its own: the lists read off the message thread and the opens and closes on
// it take this one. The MIDI input thread never does.
juce::CriticalSection& clientLock()
{
    static juce::CriticalSection lock;
    return lock;
}

class JuceInput final : public MidiPorts::Input
{
public:
    explicit JuceInput (std::unique_ptr<juce::MidiInput> opened) : device (std::move (opened)) {}
    ~JuceInput() override
    {
        const juce::ScopedLock lock (clientLock());
        device.reset();
    }
    void start() override { device->start(); }

private:
    std::unique_ptr<juce::MidiInput> device;
};

class JuceOutput final : public MidiPorts::Output
{
public:
    explicit JuceOutput (std::unique_ptr<juce::MidiOutput> opened) : device (std::move (opened)) {}
    ~JuceOutput() override
    {
        const juce::ScopedLock lock (clientLock());
        device.reset();
    }
    void sendMessageNow (const juce::MidiMessage& message) override { device->sendMessageNow (message); }

private:
    std::unique_ptr<juce::MidiOutput> device;
};

/** Without the service each list would try to reach it again, for nothing. */
juce::Array<juce::MidiDeviceInfo> inputDevices()
{
    const juce::ScopedLock lock (clientLock());
    return MidiService::isPresent() ? juce::MidiInput::getAvailableDevices()
                                    : juce::Array<juce::MidiDeviceInfo>();
}

juce::Array<juce::MidiDeviceInfo> outputDevices()
{
    const juce::ScopedLock lock (clientLock());
    return MidiService::isPresent() ? juce::MidiOutput::getAvailableDevices()
                                    : juce::Array<juce::MidiDeviceInfo>();
}

juce::StringArray namesOf (const juce::Array<juce::MidiDeviceInfo>& devices)
{
    juce::StringArray names;
    for (const auto& info : devices)
        names.add (info.name);
    return names;
}
} // namespace

JuceMidiPorts::JuceMidiPorts()
{
    MidiService::silenceLibraryMessages();
}

juce::StringArray JuceMidiPorts::getInputNames()
{
    return namesOf (inputDevices());
}

juce::StringArray JuceMidiPorts::getOutputNames()
{
    return namesOf (outputDevices());
}

std::unique_ptr<MidiPorts::Input> JuceMidiPorts::openInput (int index, juce::MidiInputCallback& callback)
{
    // The list is read again: the device may have gone since the caller's list was taken.
    const juce::ScopedLock lock (clientLock());
    const auto devices = inputDevices();
    if (!juce::isPositiveAndBelow (index, devices.size()))
        return nullptr;
    auto device = juce::MidiInput::openDevice (devices[index].identifier, &callback);
    return device != nullptr ? std::make_unique<JuceInput> (std::move (device)) : nullptr;
}

std::unique_ptr<MidiPorts::Output> JuceMidiPorts::openOutput (int index)
{
    const juce::ScopedLock lock (clientLock());
    const auto devices = outputDevices();
    if (!juce::isPositiveAndBelow (index, devices.size()))
        return nullptr;
    auto device = juce::MidiOutput::openDevice (devices[index].identifier);
    return device != nullptr ? std::make_unique<JuceOutput> (std::move (device)) : nullptr;
}
