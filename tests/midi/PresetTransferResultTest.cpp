#include <gtest/gtest.h>

#include "support/ManualTimer.h"
#include "support/MessageLoop.h"
#include "support/RecordingDialogs.h"

#include "midi/PresetTransfer.h"
#include "midi/SimulatedMarlo.h"
#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"

#include <thread>

namespace
{
using Outcome = PresetTransfer::Outcome;

/** A transfer on a simulated Marlo, keeping every result it reports. */
struct TransferRig
{
    TransferRig()
    {
        transfer.onGetFinished = [this] (const PresetTransfer::Result& result)
        { results.push_back (result); };
    }

    void connect()
    {
        midi.setInputDevice (SimulatedMarlo::deviceName);
        midi.setOutputDevice (SimulatedMarlo::deviceName);
    }

    bool waitForResult()
    {
        return runMessageLoopUntil ([this] { return !results.empty(); });
    }

    RecordingDialogs dialogs;
    SimulatedMarlo* marlo = new SimulatedMarlo(); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    ManualTimer* timer = new ManualTimer(); // owned by the transfer
    PresetTransfer transfer{midi, std::unique_ptr<TransferTimer> (timer)};
    std::vector<PresetTransfer::Result> results;
};

PresetCodec::Image distinctPreset()
{
    auto image = factoryPresetData();
    image.set (24, 77);
    return image;
}

juce::MidiMessage replyCarrying (const PresetCodec::Image& image)
{
    auto reply = createReplyHeader();
    reply.addArray (image);
    return juce::MidiMessage::createSysExMessage (reply.getRawDataPointer(), reply.size());
}

/** A controller that answers from its `answerFrom`th request while that request is still going
    out: another thread, standing for the MIDI input's, delivers the reply during the send. Notes
    whether that delivery was over before the send ended. */
class AnsweringWhileSendingPorts final : public MidiPorts
{
public:
    ~AnsweringWhileSendingPorts() override { joinDeliveries(); }

    juce::StringArray getInputNames() override { return {"Busy"}; }
    juce::StringArray getOutputNames() override { return {"Busy"}; }
    std::unique_ptr<Input> openInput (int, juce::MidiInputCallback& callback) override
    {
        receiver = &callback;
        return std::make_unique<IdleInput>();
    }
    std::unique_ptr<Output> openOutput (int) override { return std::make_unique<AnsweringOutput> (*this); }

    /** A delivery still waiting can finish only once the sender lets go of what it holds. */
    void joinDeliveries()
    {
        for (auto& delivery : deliveries)
            delivery.join();
        deliveries.clear();
    }

    int answerFrom = 1;
    int sends = 0;
    int deliveredDuringSend = 0;

private:
    struct IdleInput final : Input
    {
        void start() override {}
    };

    struct AnsweringOutput final : Output
    {
        explicit AnsweringOutput (AnsweringWhileSendingPorts& p) : ports (p) {}
        void sendMessageNow (const juce::MidiMessage&) override
        {
            if (++ports.sends < ports.answerFrom)
                return;
            auto delivered = std::make_shared<juce::WaitableEvent>();
            auto* receiver = ports.receiver;
            ports.deliveries.emplace_back (
                [receiver, delivered]
                {
                    receiver->handleIncomingMidiMessage (nullptr, replyCarrying (distinctPreset()));
                    delivered->signal();
                });
            if (delivered->wait (5000))
                ++ports.deliveredDuringSend;
        }
        AnsweringWhileSendingPorts& ports;
    };

    juce::MidiInputCallback* receiver = nullptr;
    std::vector<std::thread> deliveries;
};
} // namespace

TEST (PresetTransferResult, EachWayAGetEndsIsReportedOnceWithoutAnyAlert)
{
    {
        TransferRig rig;
        rig.marlo->setPreset (distinctPreset());
        rig.connect();
        rig.transfer.get();
        ASSERT_TRUE (rig.waitForResult());
        EXPECT_EQ (rig.results[0].outcome, Outcome::received);
        EXPECT_EQ (rig.results[0].image, distinctPreset());
        EXPECT_FALSE (rig.timer->isRunning());
    }
    {
        TransferRig rig;
        rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
        rig.connect();
        rig.transfer.get();
        EXPECT_EQ (rig.timer->fireUntilStopped().size(),
                   static_cast<size_t> (PresetTransfer::maxRetries + 1));
        ASSERT_EQ (rig.results.size(), 1u);
        EXPECT_EQ (rig.results[0].outcome, Outcome::timedOut);
        EXPECT_TRUE (rig.results[0].image.isEmpty());
    }
    {
        TransferRig rig;
        rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::shortReply);
        rig.connect();
        rig.transfer.get();
        ASSERT_TRUE (rig.waitForResult());
        EXPECT_EQ (rig.results[0].outcome, Outcome::invalidReply);
    }
    {
        TransferRig rig;
        rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
        rig.connect();
        rig.transfer.get();
        rig.midi.setPorts (std::make_unique<SimulatedMarlo>());
        rig.timer->fireUntilStopped();
        ASSERT_EQ (rig.results.size(), 1u);
        EXPECT_EQ (rig.results[0].outcome, Outcome::midiError);
    }
    {
        TransferRig rig;
        rig.midi.setOutputDevice (SimulatedMarlo::deviceName);
        rig.transfer.get();
        ASSERT_EQ (rig.results.size(), 1u) << "without an input the get ends at once";
        EXPECT_EQ (rig.results[0].outcome, Outcome::noDevice);
        EXPECT_EQ (rig.marlo->getRequestCount(), 0);
        EXPECT_TRUE (rig.dialogs.alertsShown().empty());
    }
}

TEST (PresetTransferResult, ASendNeedsAnOutputAndSendsTheDumpOfTheImage)
{
    TransferRig rig;
    EXPECT_EQ (rig.transfer.send (distinctPreset()), Outcome::noDevice);
    EXPECT_EQ (rig.marlo->getDumpCount(), 0);

    rig.midi.setOutputDevice (SimulatedMarlo::deviceName);
    EXPECT_EQ (rig.transfer.send (distinctPreset()), Outcome::sent);
    ASSERT_TRUE (runMessageLoopUntil ([&] { return rig.marlo->getDumpCount() == 1; }));
    EXPECT_EQ (rig.marlo->getPreset(), distinctPreset());
    EXPECT_TRUE (rig.dialogs.alertsShown().empty());
}

TEST (PresetTransferResult, ADetachedTransferDropsAReplyOnItsWayAndReportsNothing)
{
    TransferRig rig;
    rig.marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
    rig.connect();
    rig.transfer.get();
    auto reply = createReplyHeader();
    reply.addArray (distinctPreset());
    rig.midi.handleIncomingMidiMessage (
        nullptr, juce::MidiMessage::createSysExMessage (reply.getRawDataPointer(), reply.size()));
    rig.transfer.detach();
    runMessageLoopFor (0);
    EXPECT_TRUE (rig.results.empty());
    EXPECT_FALSE (rig.transfer.isGetInProgress());
    EXPECT_FALSE (rig.timer->isRunning());
}

TEST (PresetTransferResult, AReplyMeetingARequestOnItsWayOutNeitherWaitsForItNorIsLost)
{
    for (const int answerFrom : {1, 2})
    {
        auto* ports = new AnsweringWhileSendingPorts(); // owned by the MIDI manager
        ports->answerFrom = answerFrom;
        MidiManager midi{std::unique_ptr<MidiPorts> (ports)};
        midi.setInputDevice ("Busy");
        midi.setOutputDevice ("Busy");
        auto* timer = new ManualTimer(); // owned by the transfer
        PresetTransfer transfer{midi, std::unique_ptr<TransferTimer> (timer)};
        std::vector<PresetTransfer::Result> results;
        transfer.onGetFinished = [&results] (const PresetTransfer::Result& result)
        { results.push_back (result); };

        transfer.get();
        if (answerFrom > 1)
            timer->fire(); // the repeat meets the reply
        ports->joinDeliveries();

        EXPECT_EQ (ports->deliveredDuringSend, 1) << "the reply waited for the request " << answerFrom;
        ASSERT_TRUE (runMessageLoopUntil ([&results] { return !results.empty(); }));
        EXPECT_EQ (results[0].outcome, Outcome::received);
        EXPECT_EQ (results[0].image, distinctPreset());
        timer->fire();
        runMessageLoopFor (0);
        EXPECT_EQ (results.size(), 1u);
        EXPECT_EQ (ports->sends, answerFrom) << "a request followed the reply";
        EXPECT_FALSE (timer->isRunning());
    }
}
