#include <gtest/gtest.h>

#include "support/RecordingDialogs.h"

#include "midi/CombinedMidiPorts.h"
#include "midi/MidiManager.h"
#include "midi/SimulatedMarlo.h"
#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"

namespace
{
/** Devices that record how they are opened, started, used and closed. */
class RecordingPorts final : public MidiPorts
{
public:
    struct Log
    {
        juce::Array<int> inputsOpened, outputsOpened;
        int inputsStarted = 0, liveInputs = 0, liveOutputs = 0;
        std::vector<std::pair<int, juce::MidiMessage>> sent; // output index, message
        bool refuseToOpen = false;
    };

    RecordingPorts (juce::StringArray inputNames, juce::StringArray outputNames,
                    std::shared_ptr<Log> sharedLog)
        : inputs (std::move (inputNames)), outputs (std::move (outputNames)), log (std::move (sharedLog))
    {
    }

    juce::StringArray getInputNames() override { return inputs; }
    juce::StringArray getOutputNames() override { return outputs; }

    std::unique_ptr<Input> openInput (int index, juce::MidiInputCallback&) override
    {
        log->inputsOpened.add (index);
        return log->refuseToOpen ? nullptr : std::make_unique<RecordingInput> (log);
    }

    std::unique_ptr<Output> openOutput (int index) override
    {
        log->outputsOpened.add (index);
        return log->refuseToOpen ? nullptr : std::make_unique<RecordingOutput> (log, index);
    }

private:
    struct RecordingInput final : Input
    {
        explicit RecordingInput (std::shared_ptr<Log> l) : log (std::move (l)) { ++log->liveInputs; }
        ~RecordingInput() override { --log->liveInputs; }
        void start() override { ++log->inputsStarted; }
        std::shared_ptr<Log> log;
    };

    struct RecordingOutput final : Output
    {
        RecordingOutput (std::shared_ptr<Log> l, int i) : log (std::move (l)), index (i)
        {
            ++log->liveOutputs;
        }
        ~RecordingOutput() override { --log->liveOutputs; }
        void sendMessageNow (const juce::MidiMessage& message) override
        {
            log->sent.emplace_back (index, message);
        }
        std::shared_ptr<Log> log;
        int index;
    };

    juce::StringArray inputs, outputs;
    std::shared_ptr<Log> log;
};

class CountingListener final : public MidiManager::MidiManagerListener
{
public:
    void midiMessageReceived (const juce::MidiMessage&) override
    {
        ++calls;
        if (onCall)
            onCall();
    }
    int calls = 0;
    std::function<void()> onCall;
};

juce::Array<juce::uint8> createDumpHeaderForTest()
{
    auto dump = createDumpHeader();
    dump.addArray (factoryPresetData());
    return dump;
}

class MidiManagerTest : public ::testing::Test
{
protected:
    RecordingDialogs dialogs;
    std::shared_ptr<RecordingPorts::Log> log = std::make_shared<RecordingPorts::Log>();
    MidiManager midi{std::make_unique<RecordingPorts> (juce::StringArray{"Keys", "Twin", "Twin"},
                                                       juce::StringArray{"Twin", "Synth", "Twin"}, log)};
    const juce::MidiMessage note = juce::MidiMessage::noteOn (1, 60, 0.5f);
};
} // namespace

TEST_F (MidiManagerTest, StartsWithNothingOpen)
{
    EXPECT_FALSE (midi.isInputOpen());
    EXPECT_FALSE (midi.isOutputOpen());
    EXPECT_TRUE (midi.getInputDeviceName().isEmpty());
    EXPECT_TRUE (log->inputsOpened.isEmpty());
}

TEST_F (MidiManagerTest, SendingWithoutAnOutputShowsTheErrorOncePerSend)
{
    midi.sendMessage (note);
    midi.sendMessage (note);
    ASSERT_EQ (dialogs.alertsShown().size(), 2u);
    EXPECT_EQ (dialogs.alertsShown()[0].title, "MIDI Error");
    EXPECT_EQ (dialogs.alertsShown()[0].message,
               "MIDI Communication Unsuccessful.\r\nVerify MIDI Connection and Device Settings.\r\n"
               "Verify no other applications are using the MIDI Port.");
    EXPECT_TRUE (log->sent.empty());
}

TEST_F (MidiManagerTest, AnUnchangedInputIsNotReopenedButAnUnchangedOutputIs)
{
    midi.setInputDevice ("Keys");
    midi.setInputDevice ("Keys");
    EXPECT_EQ (log->inputsOpened, juce::Array<int> ({0}));
    EXPECT_EQ (log->inputsStarted, 1);

    midi.setOutputDevice ("Synth");
    midi.setOutputDevice ("Synth");
    EXPECT_EQ (log->outputsOpened, juce::Array<int> ({1, 1}));
    EXPECT_EQ (log->liveOutputs, 1) << "the first output object is deleted";

    midi.sendMessage (note);
    ASSERT_EQ (log->sent.size(), 1u);
    EXPECT_TRUE (dialogs.alertsShown().empty());
}

TEST_F (MidiManagerTest, AnInputThatFailedToOpenIsTriedAgainUnderTheSameName)
{
    // The device refused (or was unplugged): applying the same name again must try again.
    log->refuseToOpen = true;
    midi.setInputDevice ("Keys");
    EXPECT_FALSE (midi.isInputOpen());

    log->refuseToOpen = false;
    midi.setInputDevice ("Keys");
    EXPECT_TRUE (midi.isInputOpen());
    EXPECT_EQ (log->inputsOpened, juce::Array<int> ({0, 0}));
    EXPECT_EQ (log->inputsStarted, 1);

    // Open now: the same name leaves it running untouched.
    midi.setInputDevice ("Keys");
    EXPECT_EQ (log->inputsOpened.size(), 2);
}

TEST_F (MidiManagerTest, AMissingNameKeepsTheOpenInputAndIsLookedUpAgainWhenAppliedAgain)
{
    midi.setInputDevice ("Keys");
    midi.setInputDevice ("Elsewhere");
    midi.setInputDevice ("Elsewhere");
    EXPECT_TRUE (midi.isInputOpen()) << "the open input stays while the new name is missing";
    EXPECT_EQ (midi.getInputDeviceName(), "Elsewhere");
    EXPECT_EQ (log->inputsOpened, juce::Array<int> ({0}));

    // "Keys" is still the device that is open: applying it again keeps it, without opening the
    // device a second time.
    midi.setInputDevice ("Keys");
    EXPECT_EQ (midi.getInputDeviceName(), "Keys");
    EXPECT_EQ (log->inputsOpened, juce::Array<int> ({0}));
    EXPECT_EQ (log->liveInputs, 1);
}

TEST_F (MidiManagerTest, DuplicateNamesOpenTheFirstInputAndTheLastOutput)
{
    midi.setInputDevice ("Twin");
    EXPECT_EQ (log->inputsOpened, juce::Array<int> ({1}));

    midi.setOutputDevice ("Twin");
    EXPECT_EQ (log->outputsOpened, juce::Array<int> ({0, 2}));
    EXPECT_EQ (log->liveOutputs, 1);
    midi.sendMessage (note);
    ASSERT_EQ (log->sent.size(), 1u);
    EXPECT_EQ (log->sent[0].first, 2);
}

TEST_F (MidiManagerTest, AnAbsentNameKeepsTheOpenDeviceButIsRemembered)
{
    midi.setInputDevice ("Keys");
    midi.setOutputDevice ("Synth");
    midi.setInputDevice ("Gone");
    midi.setOutputDevice ("Gone");

    EXPECT_TRUE (midi.isInputOpen());
    EXPECT_TRUE (midi.isOutputOpen());
    EXPECT_EQ (log->liveInputs, 1);
    EXPECT_EQ (midi.getInputDeviceName(), "Gone");
    EXPECT_EQ (midi.getOutputDeviceName(), "Gone");
    EXPECT_EQ (log->inputsOpened.size(), 1);

    midi.setInputDevice ("");
    EXPECT_TRUE (midi.isInputOpen());
}

TEST_F (MidiManagerTest, ADeviceThatCannotBeOpenedLeavesNothingOpen)
{
    midi.setInputDevice ("Keys");
    log->refuseToOpen = true;
    midi.setInputDevice ("Twin");
    midi.setOutputDevice ("Synth");
    EXPECT_FALSE (midi.isInputOpen());
    EXPECT_FALSE (midi.isOutputOpen());
    EXPECT_EQ (log->inputsStarted, 1);
}

TEST_F (MidiManagerTest, ListenersHearEveryMessageOnceNewestFirst)
{
    midi.handleIncomingMidiMessage (nullptr, note); // nobody listening: discarded

    CountingListener first, second;
    std::vector<int> order;
    first.onCall = [&] { order.push_back (1); };
    second.onCall = [&] { order.push_back (2); };
    midi.addListener (&first);
    midi.addListener (&first);
    midi.addListener (&second);
    midi.addListener (nullptr);

    midi.handleIncomingMidiMessage (nullptr, note);
    EXPECT_EQ (first.calls, 1);
    EXPECT_EQ (second.calls, 1);
    EXPECT_EQ (order, (std::vector<int>{2, 1}));

    midi.removeListener (&second);
    midi.removeListener (&second);
    midi.handleIncomingMidiMessage (nullptr, note);
    EXPECT_EQ (first.calls, 2);
    EXPECT_EQ (second.calls, 1);
}

TEST_F (MidiManagerTest, AListenerMayRemoveItselfAndOthersDuringItsCall)
{
    CountingListener a, b, c;
    midi.addListener (&a);
    midi.addListener (&b);
    midi.addListener (&c);
    c.onCall = [&]
    {
        midi.removeListener (&c);
        midi.removeListener (&b);
    };
    midi.handleIncomingMidiMessage (nullptr, note);
    EXPECT_EQ (c.calls, 1);
    EXPECT_EQ (b.calls, 0);
    EXPECT_EQ (a.calls, 1);

    // One not yet called goes: each of the others is still called once, and the one gone never.
    CountingListener d;
    midi.addListener (&b);
    midi.addListener (&d);
    d.onCall = [&] { midi.removeListener (&a); };
    midi.handleIncomingMidiMessage (nullptr, note);
    EXPECT_EQ (d.calls, 1);
    EXPECT_EQ (b.calls, 1);
    EXPECT_EQ (a.calls, 1);
}

TEST (SimulatedMarlo, AnswersRequestsStoresDumpsAndCanVanish)
{
    RecordingDialogs dialogs;
    auto* marlo = new SimulatedMarlo();
    std::vector<std::unique_ptr<MidiPorts>> parts;
    parts.push_back (std::make_unique<RecordingPorts> (juce::StringArray{"Keys"}, juce::StringArray{"Synth"},
                                                       std::make_shared<RecordingPorts::Log>()));
    parts.push_back (std::unique_ptr<MidiPorts> (marlo));
    MidiManager midi{std::make_unique<CombinedMidiPorts> (std::move (parts))};
    EXPECT_EQ (midi.getPorts().getInputNames(), juce::StringArray ({"Keys", "Marlo (simulated)"}));

    // The reply comes from the device's own thread, as a real input's would.
    juce::CriticalSection lock;
    juce::Array<juce::MidiMessage> received;
    juce::WaitableEvent replied;
    struct Collector final : MidiManager::MidiManagerListener
    {
        std::function<void (const juce::MidiMessage&)> onMessage;
        void midiMessageReceived (const juce::MidiMessage& m) override { onMessage (m); }
    } collector;
    collector.onMessage = [&] (const juce::MidiMessage& m)
    {
        const juce::ScopedLock sl (lock);
        received.add (m);
        replied.signal();
    };
    midi.addListener (&collector);
    midi.setInputDevice (SimulatedMarlo::deviceName);
    midi.setOutputDevice (SimulatedMarlo::deviceName);

    auto dump = createDumpHeaderForTest();
    dump.set (8 + 24, 99);
    midi.sendMessage (juce::MidiMessage::createSysExMessage (dump.getRawDataPointer(), dump.size()));
    EXPECT_EQ (marlo->getDumpCount(), 1);
    EXPECT_EQ (marlo->getPreset()[24], 99);

    const juce::uint8 request[] = {0x00, 0x3A, 0x6C, 0x00, 0x43, 0x62, 0x00, 0x5D};
    marlo->setLatencyMs (0);
    midi.sendMessage (juce::MidiMessage::createSysExMessage (request, sizeof (request)));
    // Woken by the reply itself; the bound only ends a run whose device never answers.
    ASSERT_TRUE (replied.wait (10000)) << "no reply to the request";
    {
        const juce::ScopedLock sl (lock);
        ASSERT_EQ (received.size(), 1);
        const auto& reply = received.getReference (0);
        ASSERT_EQ (reply.getSysExDataSize(), 101);
        EXPECT_EQ (reply.getSysExData()[5], 0x63);
        EXPECT_EQ (reply.getSysExData()[8 + 24], 99);
    }

    marlo->vanish();
    EXPECT_TRUE (marlo->getInputNames().isEmpty());
    EXPECT_EQ (marlo->openOutput (0), nullptr);
    midi.sendMessage (juce::MidiMessage::createSysExMessage (request, sizeof (request)));
    EXPECT_EQ (marlo->getRequestCount(), 1);
    midi.removeListener (&collector);
}
