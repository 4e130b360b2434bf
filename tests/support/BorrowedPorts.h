#pragma once

#include "midi/MidiPorts.h"

/** Lends a test's device service to one command or manager, which owns only this wrapper, so that
    the test keeps the devices (and can look into them) after the borrower is gone. */
class BorrowedPorts final : public MidiPorts
{
public:
    explicit BorrowedPorts (MidiPorts& lent) : ports (lent) {}
    juce::StringArray getInputNames() override { return ports.getInputNames(); }
    juce::StringArray getOutputNames() override { return ports.getOutputNames(); }
    std::unique_ptr<Input> openInput (int index, juce::MidiInputCallback& callback) override
    {
        return ports.openInput (index, callback);
    }
    std::unique_ptr<Output> openOutput (int index) override { return ports.openOutput (index); }
    SimulatedMarlo* getSimulatedMarlo() noexcept override { return ports.getSimulatedMarlo(); }

private:
    MidiPorts& ports;
};
