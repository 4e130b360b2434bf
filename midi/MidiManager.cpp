#include "midi/MidiManager.h"

#include "midi/JuceMidiPorts.h"
#include "preset/Dialogs.h"

void showMidiError()
{
    Dialogs::get().showAlert (
        "MIDI Error",
        juce::StringArray ({"MIDI Communication Unsuccessful.", "Verify MIDI Connection and Device Settings.",
                            "Verify no other applications are using the MIDI Port."})
            .joinIntoString ("\r\n"));
}

MidiManager::MidiManager() : MidiManager (std::make_unique<JuceMidiPorts>()) {}

MidiManager::MidiManager (std::unique_ptr<MidiPorts> devicePorts) : ports (std::move (devicePorts))
{
    jassert (ports != nullptr);
}

MidiManager::~MidiManager()
{
    output.reset();
    input.reset();
}

void MidiManager::setPorts (std::unique_ptr<MidiPorts> devicePorts)
{
    jassert (devicePorts != nullptr);
    output.reset();
    input.reset();
    openInputName.clear();
    openOutputName.clear();
    inputDeviceName.clear();
    outputDeviceName.clear();
    ports = std::move (devicePorts);
}

void MidiManager::setInputDevice (const juce::String& name)
{
    // The input open under this name keeps running untouched (opening it a second time would
    // fail on systems that refuse a double open). One that failed to open, or that another name
    // replaced, is tried again: a device plugged back in must not need another device picked first.
    if (input != nullptr && openInputName == name)
    {
        inputDeviceName = name;
        return;
    }

    inputDeviceName = name;
    const auto index = ports->getInputNames().indexOf (name);
    if (index < 0)
        return;

    input = ports->openInput (index, *this);
    openInputName = input != nullptr ? name : juce::String();
    if (input != nullptr)
        input->start();
}

void MidiManager::setOutputDevice (const juce::String& name)
{
    // Every matching entry is opened in turn, so with duplicate names the last one stays open.
    outputDeviceName = name;
    const auto names = ports->getOutputNames();
    for (int index = 0; index < names.size(); ++index)
        if (names[index] == name)
        {
            output = ports->openOutput (index);
            openOutputName = output != nullptr ? name : juce::String();
        }
}

void MidiManager::sendMessage (const juce::MidiMessage& message)
{
    if (output == nullptr)
    {
        showMidiError();
        return;
    }
    output->sendMessageNow (message);
    if (onMessageSent != nullptr)
        onMessageSent (message);
}

void MidiManager::addListener (MidiManagerListener* listener)
{
    if (listener != nullptr)
        listeners.add (listener);
}

void MidiManager::removeListener (MidiManagerListener* listener)
{
    if (listener != nullptr)
        listeners.remove (listener);
}

bool MidiManager::isInputOpen() const noexcept
{
    return input != nullptr;
}

bool MidiManager::isOutputOpen() const noexcept
{
    return output != nullptr;
}

void MidiManager::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    // Newest first; a listener may remove itself or others during its call, and each one still
    // listening is called once.
    listeners.call ([&message] (MidiManagerListener& listener) { listener.midiMessageReceived (message); });
}
