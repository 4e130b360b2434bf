#include "midi/SimulatedSynthesizer.h"

namespace
{
template <typename Counts> class SynthesizerInput final : public MidiPorts::Output
{
public:
    explicit SynthesizerInput (std::shared_ptr<Counts> shared) : counts (std::move (shared)) {}

    void sendMessageNow (const juce::MidiMessage& message) override
    {
        ++(message.isSysEx() ? counts->ignored : counts->played);
    }

private:
    std::shared_ptr<Counts> counts;
};
} // namespace

SimulatedSynthesizer::SimulatedSynthesizer() : counts (std::make_shared<Counts>()) {}

SimulatedSynthesizer::~SimulatedSynthesizer() = default;

std::unique_ptr<MidiPorts::Output> SimulatedSynthesizer::openOutput (int index)
{
    return index == 0 ? std::make_unique<SynthesizerInput<Counts>> (counts) : nullptr;
}
