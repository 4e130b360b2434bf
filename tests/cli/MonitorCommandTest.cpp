#include <gtest/gtest.h>

#include "cli/PresetCommandLine.h"
#include "midi/SimulatedMarlo.h"
#include "preset/PresetCodec.h"
#include "preset/PresetModel.h"
#include "support/BorrowedPorts.h"
#include "support/MessageLoop.h"
#include "support/SystemUnderTest.h"

namespace
{
struct Outcome
{
    int code = -1;
    juce::StringArray lines;
    juce::String err;
};

struct MonitorCommandTest : public ::testing::Test
{
    MonitorCommandTest()
    {
        environment.makePorts = [this] (bool) -> std::unique_ptr<MidiPorts>
        { return std::make_unique<BorrowedPorts> (marlo); };
        environment.makeTimer = &TransferTimer::createSystemTimer;
        // Ends a test whose end never comes rather than hanging the suite.
        environment.runUntil = [] (const std::function<bool()>& finished)
        { runMessageLoopUntil (finished, 20000); };
        environment.nowMs = [this] { return clockMs; };
    }

    Outcome run (juce::StringArray arguments)
    {
        arguments.insert (0, "monitor");
        juce::MemoryOutputStream out, err;
        const auto code = PresetCommandLine (environment).run (arguments, out, err);
        return {code, juce::StringArray::fromLines (out.toString().trimEnd()), err.toString()};
    }

    /** A preset that maps Knob 1 to CC 74 on channel 2 and Pad 5 to note 40. */
    juce::String mappedPreset()
    {
        PresetModel model;
        EXPECT_TRUE (model.setStoredValue ("Knob 1 CC", 74).wasOk());
        EXPECT_TRUE (model.setStoredValue ("Knob 1 MIDI Channel", 1).wasOk());
        EXPECT_TRUE (model.setStoredValue ("Pad 5 Note", 40).wasOk());
        const auto content = PresetCodec::encodeFile (model.getImage());
        EXPECT_TRUE (file.getFile().replaceWithData (content.getData(), content.getSize()));
        return file.getFile().getFullPathName();
    }

    SimulatedMarlo marlo;
    juce::TemporaryFile file{".marlo"};
    double clockMs = 0.0;
    PresetCommandLine::Environment environment;
};

const juce::String simulated (SimulatedMarlo::deviceName);
} // namespace

TEST_F (MonitorCommandTest, HelpAndUsageErrors)
{
    const auto help = run ({"--help"});
    EXPECT_EQ (help.code, 0);
    EXPECT_TRUE (help.lines[0].startsWith ("usage: marlo-preset monitor [--in NAME]")) << help.lines[0];
    EXPECT_TRUE (help.lines.joinIntoString ("\n").contains ("--play"));

    juce::MemoryOutputStream out, err;
    EXPECT_EQ (PresetCommandLine (environment).run ({"--help"}, out, err), 0);
    EXPECT_TRUE (out.toString().contains ("marlo-preset monitor [--in NAME]"));

    for (const auto& wrong :
         {juce::StringArray{}, juce::StringArray{"--in"}, juce::StringArray{"--json"},
          juce::StringArray{"--in", simulated, "--play", "Knob 1=3"},
          juce::StringArray{"--in", simulated, "--count", "0"},
          juce::StringArray{"--in", simulated, "--count", "many"},
          juce::StringArray{"--in", simulated, "--count", "4294967297"},
          juce::StringArray{"--in", simulated, "--seconds", "-1"},
          juce::StringArray{"--in", simulated, "--colour"}, juce::StringArray{"--in", simulated, "extra"}})
    {
        const auto outcome = run (wrong);
        EXPECT_EQ (outcome.code, 2) << wrong.joinIntoString (" ");
        EXPECT_TRUE (outcome.err.contains ("usage: marlo-preset monitor")) << outcome.err;
    }
}

TEST_F (MonitorCommandTest, PlayedKnobsAndPadsComeOutAsJsonWithTheControlsThatSendThem)
{
    const auto outcome = run ({"--in", simulated, "--preset", mappedPreset(), "--json", "--count", "4",
                               "--simulated-device", "--play", "Knob 1=100", "--play", "Pad 5=press",
                               "--play", "Pad 5=release", "--play", "Pitch Wheel=-8192"});
    EXPECT_EQ (outcome.code, 0) << outcome.err;
    EXPECT_EQ (
        outcome.lines,
        juce::StringArray (
            {R"({"kind": "cc", "channel": 2, "number": 74, "value": 100, "control": "Knob 1", "controls": ["Knob 1"]})",
             R"({"kind": "note on", "channel": 10, "number": 40, "value": 100, "control": "Pad 5", "controls": ["Pad 5"]})",
             R"({"kind": "note off", "channel": 10, "number": 40, "value": 0, "control": "Pad 5", "controls": ["Pad 5"]})",
             R"({"kind": "pitch bend", "channel": 1, "number": null, "value": -8192, "control": "Pitch Wheel", "controls": ["Pitch Wheel"]})"}));
}

TEST_F (MonitorCommandTest, TextLinesStopAtTheCountAndNameEveryMatchingControl)
{
    // Without a preset, the factory one; without --in, the simulated controller is listened to.
    const auto outcome = run ({"--count", "2", "--simulated-device", "--play", "Mod Wheel=5", "--play",
                               "Pad 7=press", "--play", "Knob 1=9"});
    EXPECT_EQ (outcome.code, 0) << outcome.err;
    EXPECT_EQ (outcome.lines, juce::StringArray ({"cc              ch  1      1           5  Mod Wheel",
                                                  "note on         ch 10     38 D1      100  Pad 7"}));
}

TEST_F (MonitorCommandTest, EndsAfterItsSecondsOrOnCtrlCWithEverythingWritten)
{
    int polls = 0;
    environment.runUntil = [&] (const std::function<bool()>& finished)
    {
        while (!finished() && ++polls < 100000)
        {
            clockMs += 250.0;
            runMessageLoopFor (1);
        }
    };
    const auto timed = run ({"--in", simulated, "--seconds", "2"});
    EXPECT_EQ (timed.code, 0);
    EXPECT_GE (clockMs, 2000.0);
    EXPECT_LT (clockMs, 3000.0);

    if (!SystemUnderTest::canSendCtrlC())
        GTEST_SKIP() << "ended after its seconds; Ctrl+C cannot be sent to this process alone here";
    environment.runUntil = [&] (const std::function<bool()>& finished)
    {
        bool interrupted = false;
        for (polls = 0; !finished() && polls < 100000; ++polls)
        {
            if (!interrupted && marlo.getPendingPlayCount() == 0)
            {
                SystemUnderTest::sendCtrlC();
                interrupted = true;
            }
            runMessageLoopFor (1);
        }
    };
    const auto stopped = run (
        {"--in", simulated, "--simulated-device", "--play", "Switch 1=press", "--play", "Switch 1=press"});
    EXPECT_EQ (stopped.code, 0) << stopped.err;
    EXPECT_LT (polls, 100000);
    // Both presses were sent before the interrupt, and both are written.
    EXPECT_EQ (stopped.lines, juce::StringArray ({"cc              ch  1     48         127  Switch 1",
                                                  "cc              ch  1     48           0  Switch 1"}));
}

TEST_F (MonitorCommandTest, RefusesAMissingInputABadPresetAndABadPlayBeforeSendingAnything)
{
    const auto noInput = run ({"--in", "Nothing Here", "--count", "1"});
    EXPECT_EQ (noInput.code, 1);
    EXPECT_TRUE (noInput.err.contains ("there is no MIDI input named \"Nothing Here\"")) << noInput.err;

    file.getFile().replaceWithText ("not a preset");
    EXPECT_EQ (run ({"--in", simulated, "--preset", file.getFile().getFullPathName()}).code, 2);

    const auto badPlay =
        run ({"--in", simulated, "--simulated-device", "--play", "Knob 1=3", "--play", "Knob 1=press"});
    EXPECT_EQ (badPlay.code, 2);
    EXPECT_TRUE (badPlay.err.contains ("Knob 1=press")) << badPlay.err;
    EXPECT_EQ (marlo.getPendingPlayCount(), 0);
}
