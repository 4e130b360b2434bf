#include <gtest/gtest.h>

#include "cli/PresetCommandLine.h"
#include "midi/CombinedMidiPorts.h"
#include "midi/SimulatedLoopback.h"
#include "midi/SimulatedMarlo.h"
#include "support/BorrowedPorts.h"
#include "support/MessageLoop.h"

namespace
{
struct Outcome
{
    int code;
    juce::String out, err;
};

/** "detect" over the Marlo and a loopback, on the real message loop and timer (the finder's own
    schedule is checked on a test clock in its suite). */
struct DetectCommandTest : public ::testing::Test
{
    DetectCommandTest()
    {
        environment.makePorts = [this] (bool) -> std::unique_ptr<MidiPorts>
        {
            std::vector<std::unique_ptr<MidiPorts>> parts;
            parts.push_back (std::make_unique<BorrowedPorts> (marlo));
            parts.push_back (std::make_unique<SimulatedLoopback>());
            return std::make_unique<CombinedMidiPorts> (std::move (parts));
        };
        environment.makeTimer = &TransferTimer::createSystemTimer;
        environment.runUntil = [] (const std::function<bool()>& finished) { runMessageLoopUntil (finished); };
        marlo.setLatencyMs (1);
    }

    Outcome run (const juce::StringArray& arguments)
    {
        juce::MemoryOutputStream out, err;
        const auto code = PresetCommandLine (environment).run (arguments, out, err);
        return {code, out.toString(), err.toString()};
    }

    SimulatedMarlo marlo;
    PresetCommandLine::Environment environment;
};
} // namespace

TEST_F (DetectCommandTest, PrintsThePairThatAnsweredAndNamesTheLoop)
{
    const auto text = run ({"detect", "--wait", "150", "--simulated-device"});
    EXPECT_EQ (text.code, 0) << text.err;
    EXPECT_EQ (text.out, "in: Marlo (simulated), out: Marlo (simulated)\n");
    EXPECT_TRUE (text.err.contains ("Loopback (simulated): brings back what it is sent")) << text.err;

    const auto json = run ({"detect", "--json", "--wait=150"});
    EXPECT_EQ (json.code, 0);
    const auto parsed = juce::JSON::parse (json.out);
    ASSERT_TRUE (parsed.isArray()) << json.out;
    ASSERT_EQ (parsed.size(), 1);
    EXPECT_EQ (parsed[0]["input"].toString(), SimulatedMarlo::deviceName);
    EXPECT_EQ (parsed[0]["output"].toString(), SimulatedMarlo::deviceName);
}

TEST_F (DetectCommandTest, ExitsWithOneWhenNothingAnswersAndRefusesABadWait)
{
    marlo.setBehaviour (SimulatedMarlo::Behaviour::silent);
    const auto none = run ({"detect", "--wait", "60"});
    EXPECT_EQ (none.code, 1);
    EXPECT_TRUE (none.out.isEmpty());
    EXPECT_TRUE (none.err.contains ("no controller answered")) << none.err;

    marlo.setBehaviour (SimulatedMarlo::Behaviour::outOfRangeByte);
    EXPECT_EQ (run ({"detect", "--wait", "60"}).code, 1) << "an invalid preset is no answer";

    for (const auto* wait : {"0", "abc", "-5", "99999999"})
        EXPECT_EQ (run ({"detect", "--wait", wait}).code, 2) << wait;
}
