#include <gtest/gtest.h>

#include "support/SimulatedRig.h"

#include <atomic>
#include <thread>

namespace
{
/** A device service whose output notes whether a get was still waiting when each request went
    out: a request sent after a reply was taken is the fault these tests look for. */
class WatchingPorts final : public MidiPorts
{
public:
    juce::StringArray getInputNames() override { return {"Watch"}; }
    juce::StringArray getOutputNames() override { return {"Watch"}; }

    std::unique_ptr<Input> openInput (int, juce::MidiInputCallback&) override
    {
        return std::make_unique<NullInput>();
    }
    std::unique_ptr<Output> openOutput (int) override { return std::make_unique<WatchingOutput> (*this); }

    std::atomic<PresetController*> controller{nullptr};
    std::atomic<int> requests{0};
    std::atomic<int> requestsAfterReplyTaken{0};

private:
    struct NullInput final : Input
    {
        void start() override {}
    };

    struct WatchingOutput final : Output
    {
        explicit WatchingOutput (WatchingPorts& ports) : owner (ports) {}
        void sendMessageNow (const juce::MidiMessage&) override
        {
            ++owner.requests;
            if (auto* c = owner.controller.load(); c != nullptr && !c->isAwaitingReply())
                ++owner.requestsAfterReplyTaken;
        }
        WatchingPorts& owner;
    };
};

class ReplyRaceTest : public ::testing::Test
{
protected:
    ReplyRaceTest()
    {
        ports->controller = controller.get();
        midi.setInputDevice ("Watch");
        midi.setOutputDevice ("Watch");
        EXPECT_TRUE (controller->loadPresetData (factoryPresetData()));
    }

    /** Starts a get, lets the timer repeat `repeats` times, then fires the timer on this thread
        at the moment another thread delivers the reply. */
    void raceOnce (int repeats)
    {
        controller->requestPreset();
        ASSERT_TRUE (controller->isAwaitingReply());
        for (int i = 0; i < repeats; ++i)
            timer->fire();

        std::atomic<bool> go{false};
        std::thread midiThread (
            [&]
            {
                while (!go.load())
                    std::this_thread::yield();
                midi.handleIncomingMidiMessage (nullptr, reply);
            });
        go = true;
        timer->fire();
        midiThread.join();

        // The outcome is settled once the hand-over (if any) has been delivered.
        runMessageLoopUntil ([&] { return !controller->isAwaitingReply() && alertsSoFar() > outcomes; },
                             2000);
        ++outcomes;
    }

    int alertsSoFar() const { return static_cast<int> (dialogs.alertsShown().size()); }

    RecordingDialogs dialogs;
    WatchingPorts* ports = new WatchingPorts(); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (ports)};
    ManualTimer* timer = new ManualTimer(); // owned by the controller
    std::unique_ptr<PresetController> controller =
        createPresetController (midi, std::unique_ptr<TransferTimer> (timer));
    BoundPreset preset{*controller};
    juce::MidiMessage reply = SimulatedRig::replyCarrying (SimulatedRig::distinctPreset());
    int outcomes = 0;
};
} // namespace

TEST_F (ReplyRaceTest, AReplyMeetingARepeatIsTakenOnceAndNothingFollowsIt)
{
    constexpr int rounds = 300;
    for (int round = 0; round < rounds; ++round)
        raceOnce (round % 8);

    // Whatever runs no timer sends nothing more and gives up on nothing.
    EXPECT_FALSE (timer->isRunning());
    EXPECT_EQ (dialogs.countAlerts ("MIDI Get Sucess"), rounds);
    EXPECT_EQ (dialogs.countAlerts ("MIDI Get Preset Unsuccessful"), 0);
    EXPECT_EQ (ports->requestsAfterReplyTaken.load(), 0);
}

TEST_F (ReplyRaceTest, AReplyMeetingTheTimeOutEndsTheGetExactlyOnce)
{
    constexpr int rounds = 300;
    for (int round = 0; round < rounds; ++round)
        raceOnce (8); // the next timer step gives up

    EXPECT_FALSE (timer->isRunning());
    const auto succeeded = dialogs.countAlerts ("MIDI Get Sucess");
    const auto failed = dialogs.countAlerts ("MIDI Get Preset Unsuccessful");
    EXPECT_EQ (succeeded + failed, rounds) << "each get ends with one alert";
    EXPECT_EQ (alertsSoFar(), rounds);
    EXPECT_EQ (ports->requestsAfterReplyTaken.load(), 0);
}

TEST (DocumentCloseRace, RepliesArrivingWhileDocumentsCloseNeverReachTheirBindings)
{
    RecordingDialogs dialogs;
    auto* ports = new WatchingPorts();
    MidiManager midi{std::unique_ptr<MidiPorts> (ports)};
    midi.setInputDevice ("Watch");
    midi.setOutputDevice ("Watch");
    const auto reply = SimulatedRig::replyCarrying (SimulatedRig::distinctPreset());

    std::atomic<bool> stop{false};
    std::thread midiThread (
        [&]
        {
            while (!stop.load())
                midi.handleIncomingMidiMessage (nullptr, reply);
        });

    for (int document = 0; document < 200; ++document)
    {
        auto controller = createPresetController (midi);
        auto bindings = std::make_unique<BoundPreset> (*controller);
        const auto answeredBefore = dialogs.countAlerts ("MIDI Get Sucess");
        controller->requestPreset();
        // Half the documents stay open until a reply has been applied to them, the others close
        // while replies are still arriving.
        if (document % 2 == 0)
        {
            EXPECT_TRUE (runMessageLoopUntil (
                [&] { return dialogs.countAlerts ("MIDI Get Sucess") > answeredBefore; }, 5000));
        }
        // The document's order: the controller lets go of MIDI and its bindings, then the views go.
        controller->detach();
        bindings.reset();
        runMessageLoopFor (1);
        controller.reset();
    }
    stop = true;
    midiThread.join();
    runMessageLoopFor (20);
    // Replies did reach the documents that stayed open (the sanitizers watch the others), and no
    // document heard of more than one.
    EXPECT_GE (dialogs.countAlerts ("MIDI Get Sucess"), 100);
    EXPECT_LE (static_cast<int> (dialogs.alertsShown().size()), 200);
}
