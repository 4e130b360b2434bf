#pragma once

#include "midi/MidiPorts.h"

#include <atomic>
#include <juce_core/juce_core.h>

/** A synthesizer of our own, offered as one output named "Synthesizer (simulated)", as a
    computer's built-in synthesizer is: it plays notes and ignores system exclusive. */
class SimulatedSynthesizer final : public MidiPorts
{
public:
    static constexpr const char* deviceName = "Synthesizer (simulated)";

    SimulatedSynthesizer();
    ~SimulatedSynthesizer() override;

    juce::StringArray getInputNames() override { return {}; }
    juce::StringArray getOutputNames() override { return juce::StringArray (deviceName); }
    std::unique_ptr<Input> openInput (int, juce::MidiInputCallback&) override { return nullptr; }
    std::unique_ptr<Output> openOutput (int index) override;

    /** Messages it played, and system-exclusive messages it ignored. */
    int getPlayedCount() const noexcept { return counts->played; }
    int getIgnoredCount() const noexcept { return counts->ignored; }

private:
    struct Counts
    {
        std::atomic<int> played{0};
        std::atomic<int> ignored{0};
    };
    std::shared_ptr<Counts> counts;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedSynthesizer)
};
