#pragma once

#include "support/ManualTimer.h"
#include "support/MessageLoop.h"
#include "support/RecordingDialogs.h"

#include "midi/MidiManager.h"
#include "midi/MonitorComponent.h"
#include "midi/SimulatedMarlo.h"
#include "preset/ControlState.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetLayout.h"

#include <gtest/gtest.h>
#include <memory>

/** The factory preset with Knob 1 sending CC 74 on channel 2, and Pad 5 note 36 and the keybed on
    channel 2. */
inline PresetCodec::Image mappedPreset()
{
    auto image = factoryPresetData();
    const auto set = [&image] (const char* name, int value)
    { image.set (ParameterIndex::find (name)->offset, static_cast<juce::uint8> (value)); };
    set ("Knob 1 CC", 74);
    set ("Knob 1 MIDI Channel", 1);
    set ("Pad 5 Note", 36);
    set ("Pad 5 MIDI Channel", 1);
    set ("Keybed MIDI Channel", 1);
    return image;
}

/** A monitor on the simulated Marlo, matching the mapped preset, drained by hand at the test's time. */
class MonitorTest : public ::testing::Test
{
protected:
    MonitorTest()
    {
        midi.setInputDevice (SimulatedMarlo::deviceName);
        midi.setOutputDevice (SimulatedMarlo::deviceName);
    }

    MonitorComponent& makeMonitor()
    {
        auto drainTimer = std::make_unique<ManualTimer>();
        timer = drainTimer.get();
        monitor = std::make_unique<MonitorComponent> (midi, std::move (drainTimer), [this] { return now; });
        monitor->presetSource = [this] {
            return std::optional<MonitorComponent::WatchedPreset> ({"Mapped", preset});
        };
        return *monitor;
    }

    SimulatedMarlo& device() { return *midi.getPorts().getSimulatedMarlo(); }
    void inject (const juce::MidiMessage& message) { device().inject (message); }

    RecordingDialogs dialogs;
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    PresetCodec::Image preset = mappedPreset();
    double now = 1000.0;
    ManualTimer* timer = nullptr;
    std::unique_ptr<MonitorComponent> monitor;
};
