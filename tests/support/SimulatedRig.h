#pragma once

#include "BoundPreset.h"
#include "ManualTimer.h"
#include "MessageLoop.h"
#include "RecordingDialogs.h"

#include "midi/SimulatedMarlo.h"
#include "preset/PresetMessages.h"

/** A document's controller with bindings for every parameter, wired through a MIDI manager to a
    simulated Marlo. The controller's get repeats only when the test fires its timer. */
struct SimulatedRig
{
    SimulatedRig() { EXPECT_TRUE (controller->loadPresetData (factoryPresetData())); }

    void connect()
    {
        midi.setInputDevice (SimulatedMarlo::deviceName);
        midi.setOutputDevice (SimulatedMarlo::deviceName);
    }

    void click (const juce::String& buttonName)
    {
        juce::TextButton button (buttonName);
        controller->buttonClicked (&button);
    }

    bool waitForAlert (const juce::String& title, int timeoutMs = 3000)
    {
        return runMessageLoopUntil ([&] { return dialogs.countAlerts (title) > 0; }, timeoutMs);
    }

    /** A preset unlike the factory image, within every range. */
    static juce::Array<juce::uint8> distinctPreset()
    {
        auto data = factoryPresetData();
        data.set (2, 9);   // keybed channel
        data.set (24, 77); // knob 3 CC
        data.set (44, 61); // pad 3 note
        data.set (89, 5);  // switch 4 CC
        return data;
    }

    /** As the MIDI input thread delivers a message. */
    void receive (const juce::MidiMessage& message) { midi.handleIncomingMidiMessage (nullptr, message); }

    static juce::MidiMessage replyCarrying (const juce::Array<juce::uint8>& payload)
    {
        auto data = createReplyHeader();
        data.addArray (payload);
        return juce::MidiMessage::createSysExMessage (data.getRawDataPointer(), data.size());
    }

    RecordingDialogs dialogs;
    SimulatedMarlo* marlo = new SimulatedMarlo(); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    ManualTimer* timer = new ManualTimer(); // owned by the controller
    std::unique_ptr<PresetController> controller =
        createPresetController (midi, std::unique_ptr<TransferTimer> (timer));
    BoundPreset preset{*controller};
};
