#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_audio_devices/juce_audio_devices.h>
#include <memory>

class SimulatedMarlo;

/** The MIDI service as the MidiManager sees it: device lists by name, open by index, start, send.

    JuceMidiPorts reaches the operating system's devices; SimulatedMarlo is a controller of our
    own behind the same interface; CombinedMidiPorts lists several of them as one.
*/
class MidiPorts
{
public:
    /** An open input; it stops and closes when destroyed. */
    class Input
    {
    public:
        virtual ~Input() = default;
        virtual void start() = 0;
    };

    /** An open output; it closes when destroyed. */
    class Output
    {
    public:
        virtual ~Output() = default;
        /** Sends at once, on the calling thread. */
        virtual void sendMessageNow (const juce::MidiMessage& message) = 0;
    };

    virtual ~MidiPorts() = default;

    /** The lists may be read on any thread, also while another thread opens or closes a device. */
    virtual juce::StringArray getInputNames() = 0;
    virtual juce::StringArray getOutputNames() = 0;

    /** Opens the input at this index of getInputNames(); null when it cannot be opened.
        The callback is called on the device's own thread; its source argument may be null. */
    virtual std::unique_ptr<Input> openInput (int index, juce::MidiInputCallback& callback) = 0;

    /** Opens the output at this index of getOutputNames(); null when it cannot be opened. */
    virtual std::unique_ptr<Output> openOutput (int index) = 0;

    /** The simulated controller among these devices, to be played; null when there is none. */
    virtual SimulatedMarlo* getSimulatedMarlo() noexcept { return nullptr; }
};
