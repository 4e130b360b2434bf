#include <gtest/gtest.h>

#include "support/ManualTimer.h"

#include "midi/CombinedMidiPorts.h"
#include "midi/ControllerFinder.h"
#include "midi/SimulatedLoopback.h"
#include "midi/SimulatedMarlo.h"
#include "midi/SimulatedSynthesizer.h"

namespace
{
using Pair = ControllerFinder::Pair;

/** A device listed under a name of the test's, so that two controllers can be told apart. */
class Renamed final : public MidiPorts
{
public:
    Renamed (MidiPorts& device, juce::String newName) : ports (device), name (std::move (newName)) {}
    juce::StringArray getInputNames() override { return juce::StringArray (name); }
    juce::StringArray getOutputNames() override { return juce::StringArray (name); }
    std::unique_ptr<Input> openInput (int index, juce::MidiInputCallback& callback) override
    {
        return ports.openInput (index, callback);
    }
    std::unique_ptr<Output> openOutput (int index) override { return ports.openOutput (index); }

private:
    MidiPorts& ports;
    juce::String name;
};

/** The simulated set-up on the test's clock: the Marlo, a loopback and a synthesizer, and a
    second Marlo ("Marlo B") that is plugged in only when a test says so. */
struct ControllerFinderTest : public ::testing::Test
{
    ControllerFinderTest()
    {
        marlo->setLatencyMs (0);
        second.setLatencyMs (0);
        second.vanish();
        std::vector<std::unique_ptr<MidiPorts>> parts;
        parts.push_back (std::unique_ptr<MidiPorts> (marlo));
        parts.push_back (std::make_unique<SimulatedLoopback>());
        parts.push_back (std::unique_ptr<MidiPorts> (synthesizer));
        parts.push_back (std::make_unique<Renamed> (second, "Marlo B"));
        midi.setPorts (std::make_unique<CombinedMidiPorts> (std::move (parts)));
        finder.onFinished = [this] (const std::vector<Pair>& pairs)
        {
            ++finishes;
            found = pairs;
        };
    }

    /** One output's wait: the clock moves on by it, the devices answer, the timer fires. */
    void passWait (double ms = ControllerFinder::defaultWaitMs)
    {
        now += ms;
        marlo->deliverDue();
        second.deliverDue();
        timer->fire();
    }

    double now = 0;
    SimulatedMarlo* marlo = new SimulatedMarlo ([this] { return now; });
    SimulatedSynthesizer* synthesizer = new SimulatedSynthesizer();
    SimulatedMarlo second{[this] { return now; }};
    MidiManager midi{std::make_unique<CombinedMidiPorts> (std::vector<std::unique_ptr<MidiPorts>>{})};
    ManualTimer* timer = new ManualTimer();
    ControllerFinder finder{midi, std::unique_ptr<TransferTimer> (timer)};
    int finishes = 0;
    std::vector<Pair> found;
};
} // namespace

TEST_F (ControllerFinderTest, PicksTheMarloNotTheLoopbackNorTheSynthesizer)
{
    std::vector<juce::String> asked;
    juce::StringArray counts;
    finder.onProgress = [&] (int done, int total, const juce::String& output)
    {
        asked.push_back (output);
        counts.add (juce::String (done) + "/" + juce::String (total));
    };
    finder.start();
    EXPECT_EQ (timer->getInterval(), 300);
    EXPECT_EQ (marlo->getRequestCount(), 1);
    for (int round = 0; round < 4 && finishes == 0; ++round)
        passWait();
    EXPECT_EQ (finishes, 0) << "each pair is asked again";
    passWait();

    EXPECT_EQ (finishes, 1);
    EXPECT_EQ (found, (std::vector<Pair>{{SimulatedMarlo::deviceName, SimulatedMarlo::deviceName}}));
    EXPECT_EQ (finder.getLoops(), juce::StringArray (SimulatedLoopback::deviceName));
    EXPECT_EQ (asked, (std::vector<juce::String>{SimulatedMarlo::deviceName, SimulatedLoopback::deviceName,
                                                 SimulatedSynthesizer::deviceName, "Marlo B",
                                                 SimulatedMarlo::deviceName}));
    EXPECT_EQ (counts, juce::StringArray ({"0/4", "1/4", "2/4", "3/4", "4/5"}));
    EXPECT_EQ (synthesizer->getIgnoredCount(), 1);
    EXPECT_EQ (marlo->getRequestCount(), 2);
    EXPECT_FALSE (finder.isRunning());
    EXPECT_FALSE (timer->isRunning());
}

TEST_F (ControllerFinderTest, AReplyLateForItsOutputsWaitIsNotTakenForTheNextOutputs)
{
    // The reply comes 36 ms after the request: past a 20 ms wait, inside the loopback's.
    finder.start (20);
    EXPECT_EQ (timer->getInterval(), 20);
    for (int round = 0; round < 10 && finishes == 0; ++round)
        passWait (20);
    EXPECT_EQ (finishes, 1);
    EXPECT_TRUE (found.empty());

    // With time enough, the same set-up pairs it.
    finder.start (40);
    for (int round = 0; round < 10 && finishes == 1; ++round)
        passWait (40);
    EXPECT_EQ (found, (std::vector<Pair>{{SimulatedMarlo::deviceName, SimulatedMarlo::deviceName}}));
}

TEST_F (ControllerFinderTest, ListsEveryControllerThatAnswers)
{
    second.plugIn();
    finder.start();
    for (int round = 0; round < 10 && finishes == 0; ++round)
        passWait();
    EXPECT_EQ (found, (std::vector<Pair>{{SimulatedMarlo::deviceName, SimulatedMarlo::deviceName},
                                         {"Marlo B", "Marlo B"}}));
}

TEST_F (ControllerFinderTest, NeverSendsWhileATransferRunsAndStopsAtOnceWhenCancelled)
{
    bool transferRunning = true;
    finder.isTransferRunning = [&] { return transferRunning; };
    finder.start();
    timer->fire();
    timer->fire();
    EXPECT_EQ (marlo->getRequestCount(), 0);
    EXPECT_EQ (timer->getInterval(), ControllerFinder::busyRecheckMs);

    transferRunning = false;
    timer->fire();
    EXPECT_EQ (marlo->getRequestCount(), 1);
    EXPECT_EQ (timer->getInterval(), 300);

    // A get starting during the Marlo's wait holds back the request to the next output.
    transferRunning = true;
    passWait();
    passWait();
    EXPECT_EQ (synthesizer->getIgnoredCount(), 0);

    finder.cancel();
    EXPECT_FALSE (finder.isRunning());
    EXPECT_FALSE (timer->isRunning());
    transferRunning = false;
    passWait();
    EXPECT_EQ (marlo->getRequestCount(), 1);
    EXPECT_EQ (finishes, 0);
}

TEST_F (ControllerFinderTest, UsesTheManagersOpenDevicesWithoutOpeningThemAgain)
{
    midi.setInputDevice (SimulatedMarlo::deviceName);
    midi.setOutputDevice (SimulatedMarlo::deviceName);
    int sentThroughManager = 0;
    midi.onMessageSent = [&] (const juce::MidiMessage&) { ++sentThroughManager; };
    finder.start();
    for (int round = 0; round < 10 && finishes == 0; ++round)
        passWait();
    EXPECT_EQ (found, (std::vector<Pair>{{SimulatedMarlo::deviceName, SimulatedMarlo::deviceName}}));
    EXPECT_EQ (sentThroughManager, 2);
    EXPECT_TRUE (midi.isInputOpen());
    EXPECT_EQ (midi.getOpenInputName(), SimulatedMarlo::deviceName);
}
