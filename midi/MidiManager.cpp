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
    tellConnectionChanged();
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
    {
        tellConnectionChanged();
        return;
    }

    input = ports->openInput (index, *this);
    openInputName = input != nullptr ? name : juce::String();
    if (input != nullptr)
        input->start();
    tellConnectionChanged();
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
    tellConnectionChanged();
}

void MidiManager::addConnectionListener (ConnectionListener* listener)
{
    if (listener != nullptr)
        connectionListeners.add (listener);
}

void MidiManager::removeConnectionListener (ConnectionListener* listener)
{
    connectionListeners.remove (listener);
}

void MidiManager::tellConnectionChanged()
{
    connectionListeners.call ([] (ConnectionListener& listener) { listener.connectionChanged(); });
}

void MidiManager::followDeviceLists (const juce::StringArray& inputs, const juce::StringArray& outputs)
{
    bool closed = false;
    if (input != nullptr && !inputs.contains (openInputName))
    {
        input.reset();
        openInputName.clear();
        closed = true;
    }
    if (output != nullptr && !outputs.contains (openOutputName))
    {
        output.reset();
        openOutputName.clear();
        closed = true;
    }

    // The same name back is taken for the same device. Each open tells the listeners itself.
    const auto returned =
        [] (const juce::String& chosen, const juce::String& open, const juce::StringArray& names)
    { return chosen.isNotEmpty() && chosen != open && names.contains (chosen); };
    const bool reopenOutput = returned (outputDeviceName, openOutputName, outputs);
    const bool reopenInput = returned (inputDeviceName, openInputName, inputs);
    if (reopenOutput)
        setOutputDevice (outputDeviceName);
    if (reopenInput)
        setInputDevice (inputDeviceName);
    if (closed && !reopenOutput && !reopenInput)
        tellConnectionChanged();
    if (closed)
        connectionListeners.call ([] (ConnectionListener& listener) { listener.deviceLeft(); });
}

juce::StringArray MidiManager::missingNames() const
{
    juce::StringArray missing;
    if (inputDeviceName.isNotEmpty() && inputDeviceName != openInputName)
        missing.add (inputDeviceName);
    if (outputDeviceName.isNotEmpty() && outputDeviceName != openOutputName)
        missing.addIfNotAlreadyThere (outputDeviceName);
    return missing;
}

bool MidiManager::isChosenDeviceMissing() const
{
    return !missingNames().isEmpty();
}

juce::String MidiManager::describeConnection() const
{
    if (const auto missing = missingNames(); !missing.isEmpty())
        return "Disconnected: " + missing.joinIntoString (" / ");
    juce::StringArray open{openInputName, openOutputName};
    open.removeEmptyStrings();
    if (open.isEmpty())
        return "Not connected";
    return "Connected: " + open.joinIntoString (" / ");
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
