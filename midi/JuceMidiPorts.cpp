#include "midi/JuceMidiPorts.h"

#include "platform/midi/MidiService.h"

namespace
{
class JuceInput final : public MidiPorts::Input
{
public:
    explicit JuceInput (std::unique_ptr<juce::MidiInput> opened) : device (std::move (opened)) {}
    void start() override { device->start(); }

private:
    std::unique_ptr<juce::MidiInput> device;
};

class JuceOutput final : public MidiPorts::Output
{
public:
    explicit JuceOutput (std::unique_ptr<juce::MidiOutput> opened) : device (std::move (opened)) {}
    void sendMessageNow (const juce::MidiMessage& message) override { device->sendMessageNow (message); }

private:
    std::unique_ptr<juce::MidiOutput> device;
};

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
    return namesOf (juce::MidiInput::getAvailableDevices());
}

juce::StringArray JuceMidiPorts::getOutputNames()
{
    return namesOf (juce::MidiOutput::getAvailableDevices());
}

std::unique_ptr<MidiPorts::Input> JuceMidiPorts::openInput (int index, juce::MidiInputCallback& callback)
{
    // The list is read again: the device may have gone since the caller's list was taken.
    const auto devices = juce::MidiInput::getAvailableDevices();
    if (!juce::isPositiveAndBelow (index, devices.size()))
        return nullptr;
    auto device = juce::MidiInput::openDevice (devices[index].identifier, &callback);
    return device != nullptr ? std::make_unique<JuceInput> (std::move (device)) : nullptr;
}

std::unique_ptr<MidiPorts::Output> JuceMidiPorts::openOutput (int index)
{
    const auto devices = juce::MidiOutput::getAvailableDevices();
    if (!juce::isPositiveAndBelow (index, devices.size()))
        return nullptr;
    auto device = juce::MidiOutput::openDevice (devices[index].identifier);
    return device != nullptr ? std::make_unique<JuceOutput> (std::move (device)) : nullptr;
}
