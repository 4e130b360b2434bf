#include <benchmark/benchmark.h>

#include "HeapCount.h"
#include "midi/ControllerFinder.h"
#include "midi/MidiManager.h"
#include "midi/PresetTransfer.h"
#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"
#include "support/ManualTimer.h"

// What a MIDI input's thread pays for a message that the finder or a get is waiting for: it must
// never allocate, so the counters below must read zero.
namespace
{
/** One input and one output named "Marlo" that reach nothing; the input's callback is kept, so
    the benchmark calls it as a device's thread would. */
class CapturedPorts final : public MidiPorts
{
public:
    juce::StringArray getInputNames() override { return {"Marlo"}; }
    juce::StringArray getOutputNames() override { return {"Marlo"}; }
    std::unique_ptr<Input> openInput (int, juce::MidiInputCallback& callback) override
    {
        captured = &callback;
        return std::make_unique<Closed>();
    }
    std::unique_ptr<Output> openOutput (int) override { return std::make_unique<Closed>(); }

    juce::MidiInputCallback* captured = nullptr;

private:
    struct Closed final : Input, Output
    {
        void start() override {}
        void sendMessageNow (const juce::MidiMessage&) override {}
    };
};

juce::MidiMessage replyMessage()
{
    auto bytes = createReplyHeader();
    bytes.addArray (factoryPresetData());
    return juce::MidiMessage::createSysExMessage (bytes.getRawDataPointer(), bytes.size());
}

juce::MidiMessage requestMessage()
{
    const auto bytes = createRequestHeader();
    return juce::MidiMessage::createSysExMessage (bytes.getRawDataPointer(), bytes.size());
}

void labelWhatIsCounted (benchmark::State& state)
{
    if (!HeapCount::countsMalloc())
        state.SetLabel ("operator new only: build without the sanitizer to count malloc");
}

/** Calls the input as its thread would, counting only the allocations made inside the call. */
std::int64_t allocationsOf (juce::MidiInputCallback& input, const juce::MidiMessage& message)
{
    const auto before = HeapCount::allocationsOnThisThread();
    input.handleIncomingMidiMessage (nullptr, message);
    return HeapCount::allocationsOnThisThread() - before;
}

void BM_FinderHearsOnTheMidiThread (benchmark::State& state)
{
    auto ports = std::make_unique<CapturedPorts>();
    auto& captured = ports->captured;
    MidiManager midi (std::move (ports));
    auto timer = std::make_unique<ManualTimer>();
    auto& rounds = *timer;
    ControllerFinder finder (midi, std::move (timer));
    const auto reply = replyMessage();
    const auto echo = requestMessage();

    std::int64_t allocations = 0;
    std::int64_t messages = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        if (!finder.isRunning())
            finder.start();
        state.ResumeTiming();
        // A round's first reply is copied, a second only looked at; then the request echoed.
        for (const auto* message : {&reply, &reply, &echo})
            allocations += allocationsOf (*captured, *message);
        messages += 3;
        state.PauseTiming();
        rounds.fire();
        state.ResumeTiming();
    }
    if (finder.getFound().empty() && finder.getLoops().isEmpty())
        state.SkipWithError ("the finder heard nothing");
    labelWhatIsCounted (state);
    state.counters["allocations_per_message"] =
        static_cast<double> (allocations) / static_cast<double> (messages);
}
BENCHMARK (BM_FinderHearsOnTheMidiThread)->Iterations (200);

void BM_GetTakesItsReplyOnTheMidiThread (benchmark::State& state)
{
    auto ports = std::make_unique<CapturedPorts>();
    auto& captured = ports->captured;
    MidiManager midi (std::move (ports));
    midi.setInputDevice ("Marlo");
    midi.setOutputDevice ("Marlo");
    PresetTransfer transfer (midi, std::make_unique<ManualTimer>());
    int received = 0;
    transfer.onGetFinished = [&received] (const PresetTransfer::Result& result)
    { received += result.outcome == PresetTransfer::Outcome::received ? 1 : 0; };
    const auto reply = replyMessage();

    std::int64_t allocations = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        transfer.get();
        state.ResumeTiming();
        allocations += allocationsOf (*captured, reply);
        state.PauseTiming();
        // The reply is taken on the message thread, which looks for it while the get waits.
        const auto before = received;
        for (int wait = 0; wait < 200 && received == before; ++wait)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
        state.ResumeTiming();
    }
    if (received != static_cast<int> (state.iterations()))
        state.SkipWithError ("a get did not take its reply");
    labelWhatIsCounted (state);
    state.counters["allocations_per_reply"] =
        static_cast<double> (allocations) / static_cast<double> (state.iterations());
}
BENCHMARK (BM_GetTakesItsReplyOnTheMidiThread)->Iterations (200);
} // namespace
