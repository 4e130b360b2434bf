#include <gtest/gtest.h>

#include "midi/PresetTransfer.h"
#include "midi/SimulatedLoopback.h"
#include "midi/SimulatedMarlo.h"
#include "midi/SimulatedSynthesizer.h"
#include "midi/SystemMidiPorts.h"
#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"

namespace
{
/** Keeps what an input brings and when, on the test's clock. */
struct Collector final : public juce::MidiInputCallback
{
    void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message) override
    {
        received.push_back ({*now, message});
    }
    const double* now = nullptr;
    std::vector<std::pair<double, juce::MidiMessage>> received;
};

juce::MidiMessage request()
{
    const auto header = createRequestHeader();
    return juce::MidiMessage::createSysExMessage (header.getRawDataPointer(), header.size());
}

struct SimulatedMarloOnATestClock : public ::testing::Test
{
    SimulatedMarloOnATestClock()
    {
        collector.now = &now;
        marlo.setLatencyMs (0);
        input = marlo.openInput (0, collector);
        input->start();
        output = marlo.openOutput (0);
    }

    void advanceTo (double ms)
    {
        now = ms;
        marlo.deliverDue();
    }

    double now = 1000.0;
    SimulatedMarlo marlo{[this] { return now; }};
    Collector collector;
    std::unique_ptr<MidiPorts::Input> input;
    std::unique_ptr<MidiPorts::Output> output;
};
} // namespace

TEST_F (SimulatedMarloOnATestClock, AnswersOnceTheRequestAndTheReplyHaveCrossedTheCable)
{
    // 10 bytes in and 103 bytes back at 320 us a byte.
    const auto due = 1000.0 + (10 + presetDumpMessageSize) * SimulatedMarlo::wireMsPerByte;
    output->sendMessageNow (request());
    advanceTo (due - 0.05);
    EXPECT_TRUE (collector.received.empty());
    advanceTo (due + 0.05);
    ASSERT_EQ (collector.received.size(), 1u);
    EXPECT_TRUE (PresetCodec::isReply (collector.received[0].second));

    // A request sent behind a dump waits for the dump to come in first.
    output->sendMessageNow (PresetTransfer::createDumpMessage (factoryPresetData()));
    output->sendMessageNow (request());
    const auto second = now + (103 + 10 + 103) * SimulatedMarlo::wireMsPerByte;
    advanceTo (second - 0.05);
    EXPECT_EQ (collector.received.size(), 1u);
    advanceTo (second + 0.05);
    EXPECT_EQ (collector.received.size(), 2u);
}

TEST_F (SimulatedMarloOnATestClock, KeepsFourDumpsWaitingAndDropsAndCountsTheRest)
{
    auto changed = factoryPresetData();
    for (int i = 0; i < 6; ++i)
    {
        changed.set (24, static_cast<juce::uint8> (10 + i));
        output->sendMessageNow (PresetTransfer::createDumpMessage (changed));
    }
    EXPECT_EQ (marlo.getDumpCount(), 4);
    EXPECT_EQ (marlo.getDroppedDumpCount(), 2);
    EXPECT_EQ (marlo.getPreset()[24], 13);

    // Once the first has come in, there is room for one more.
    advanceTo (now + presetDumpMessageSize * SimulatedMarlo::wireMsPerByte + 0.01);
    output->sendMessageNow (PresetTransfer::createDumpMessage (changed));
    EXPECT_EQ (marlo.getDumpCount(), 5);
    EXPECT_EQ (marlo.getDroppedDumpCount(), 2);
    EXPECT_EQ (marlo.getPreset()[24], 15);
}

TEST_F (SimulatedMarloOnATestClock, UnpluggedItIsGoneAndPluggedInItAnswersAgain)
{
    marlo.vanish();
    EXPECT_FALSE (marlo.isPluggedIn());
    EXPECT_TRUE (marlo.getOutputNames().isEmpty());
    EXPECT_EQ (marlo.openOutput (0), nullptr);
    output->sendMessageNow (request());
    advanceTo (now + 100);
    EXPECT_TRUE (collector.received.empty());

    marlo.plugIn();
    EXPECT_EQ (marlo.getInputNames(), juce::StringArray (SimulatedMarlo::deviceName));
    output->sendMessageNow (request());
    advanceTo (now + 100);
    EXPECT_EQ (collector.received.size(), 1u);
}

TEST (SimulatedSetup, TheMarloFirstThenALoopbackThatEchoesAndASynthesizerThatIgnoresSysEx)
{
    auto ports = SystemMidiPorts::create (true);
    const auto inputs = ports->getInputNames();
    const auto outputs = ports->getOutputNames();
    ASSERT_GE (inputs.size(), 2);
    ASSERT_GE (outputs.size(), 3);
    EXPECT_EQ (juce::StringArray (inputs.begin(), 2),
               juce::StringArray ({SimulatedMarlo::deviceName, SimulatedLoopback::deviceName}));
    EXPECT_EQ (juce::StringArray (outputs.begin(), 3),
               juce::StringArray ({SimulatedMarlo::deviceName, SimulatedLoopback::deviceName,
                                   SimulatedSynthesizer::deviceName}));
    EXPECT_FALSE (inputs.contains (SimulatedSynthesizer::deviceName));

    SimulatedLoopback loopback;
    double now = 0;
    Collector collector;
    collector.now = &now;
    auto input = loopback.openInput (0, collector);
    input->start();
    loopback.openOutput (0)->sendMessageNow (request());
    ASSERT_EQ (collector.received.size(), 1u);
    EXPECT_EQ (collector.received[0].second.getDescription(), request().getDescription());

    SimulatedSynthesizer synthesizer;
    auto synth = synthesizer.openOutput (0);
    synth->sendMessageNow (request());
    synth->sendMessageNow (juce::MidiMessage::noteOn (1, 60, 0.5f));
    EXPECT_EQ (synthesizer.getIgnoredCount(), 1);
    EXPECT_EQ (synthesizer.getPlayedCount(), 1);
}
