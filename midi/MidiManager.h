#pragma once

#include "midi/MidiPorts.h"

#include <functional>
#include <juce_audio_devices/juce_audio_devices.h>
#include <memory>

/** Shows the "MIDI Error" alert; sending without an open output reports through it. */
void showMidiError();

/** The application's one gateway to MIDI: one input and one output chosen by name, sending, and
    every complete incoming message handed to the registered listeners.
*/
class MidiManager : public juce::MidiInputCallback
{
public:
    /** Receives every complete incoming message. */
    class MidiManagerListener
    {
    public:
        /** Called on the MIDI input thread. */
        virtual void midiMessageReceived (const juce::MidiMessage& message) = 0;
        virtual ~MidiManagerListener() = default;
    };

    /** Told when a device opens or closes; message thread. */
    class ConnectionListener
    {
    public:
        virtual ~ConnectionListener() = default;
        virtual void connectionChanged() {}
        /** A device was closed because it left the device list (after connectionChanged). */
        virtual void deviceLeft() {}
    };

    /** Reaches the operating system's devices through JUCE. */
    MidiManager();
    explicit MidiManager (std::unique_ptr<MidiPorts> ports);
    ~MidiManager() override;

    /** Replaces the device service; closes whatever was open. Message thread, before any choice. */
    void setPorts (std::unique_ptr<MidiPorts> ports);
    MidiPorts& getPorts() noexcept { return *ports; }

    void setInputDevice (const juce::String& name);
    void setOutputDevice (const juce::String& name);
    /** Sends through the open output and then tells onMessageSent; message thread. */
    void sendMessage (const juce::MidiMessage& message);
    /** Told of each message once it went out, on the message thread; a monitor records them. */
    std::function<void (const juce::MidiMessage&)> onMessageSent;

    void addListener (MidiManagerListener* listener);
    /** After this returns the listener is not being called and will not be called again. */
    void removeListener (MidiManagerListener* listener);

    /** Called back synchronously, on the message thread, after each change of what is open. */
    void addConnectionListener (ConnectionListener* listener);
    void removeConnectionListener (ConnectionListener* listener);

    /** Follows the device lists as they are now: an open device whose name has left its list is
        closed, and a chosen one whose name is listed again is opened. Message thread. */
    void followDeviceLists (const juce::StringArray& inputs, const juce::StringArray& outputs);

    /** "Connected: <input> / <output>", "Disconnected: <name>" while a chosen device is not open,
        or "Not connected". */
    juce::String describeConnection() const;
    /** Whether a device chosen by name is not open (unplugged, or absent since the start). */
    bool isChosenDeviceMissing() const;

    bool isInputOpen() const noexcept;
    bool isOutputOpen() const noexcept;
    const juce::String& getInputDeviceName() const noexcept { return inputDeviceName; }
    const juce::String& getOutputDeviceName() const noexcept { return outputDeviceName; }
    /** The names the open input and output were opened under; empty while closed. */
    const juce::String& getOpenInputName() const noexcept { return openInputName; }
    const juce::String& getOpenOutputName() const noexcept { return openOutputName; }

    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;
    void handlePartialSysexMessage (juce::MidiInput*, const juce::uint8*, int, double) override {}

private:
    /** The chosen names not open under that name. */
    juce::StringArray missingNames() const;
    void tellConnectionChanged();

    // Declared first so that it outlives the devices it opened.
    std::unique_ptr<MidiPorts> ports;
    juce::String inputDeviceName;
    juce::String outputDeviceName;
    /** The name the open input was opened under; the requested name can differ from it. */
    juce::String openInputName;
    juce::String openOutputName;
    // Its lock is held while listeners are called on the MIDI thread and while the list changes,
    // so a listener that has been removed is never called again.
    juce::ListenerList<MidiManagerListener, juce::Array<MidiManagerListener*, juce::CriticalSection>>
        listeners;
    juce::ListenerList<ConnectionListener> connectionListeners;
    std::unique_ptr<MidiPorts::Input> input;
    std::unique_ptr<MidiPorts::Output> output;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiManager)
};
