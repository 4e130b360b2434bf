#include <gtest/gtest.h>

#include "cli/PresetCommandLine.h"
#include "cli/WatchedFileSender.h"
#include "midi/SimulatedMarlo.h"
#include "preset/PresetCodec.h"
#include "preset/PresetModel.h"
#include "support/BorrowedPorts.h"
#include "support/ManualTimer.h"
#include "support/MessageLoop.h"

#include <algorithm>

namespace
{
const juce::String simulated (SimulatedMarlo::deviceName);

PresetCodec::Image withTranspose (int stored)
{
    PresetModel model;
    EXPECT_TRUE (model.setStoredValue ("Keybed Transpose", stored).wasOk());
    return model.getImage();
}

void write (const juce::File& file, const PresetCodec::Image& image)
{
    const auto content = PresetCodec::encodeFile (image);
    ASSERT_TRUE (file.replaceWithData (content.getData(), content.getSize()));
}

std::vector<int> bytes (const juce::Array<juce::uint8>& image)
{
    return {image.begin(), image.end()};
}

/** A file watched on the test's clock, sending to a simulated Marlo on the same clock. */
struct WatchRig
{
    WatchRig() { midi.setOutputDevice (simulated); }

    void pollAt (double now)
    {
        clockMs = now;
        marlo.deliverDue();
        ASSERT_TRUE (sender.poll (now));
    }

    juce::TemporaryFile temporary{".marlo"};
    juce::File file = temporary.getFile();
    double clockMs = 0.0;
    SimulatedMarlo marlo{[this] { return clockMs; }};
    MidiManager midi{std::make_unique<BorrowedPorts> (marlo)};
    PresetTransfer transfer{midi, std::make_unique<ManualTimer>()};
    WatchedFileSender sender{file, transfer, false};
};
} // namespace

TEST (WatchedFileSenderTest, AStreamOfSavesIsSentPacedAndTheControllerEndsHoldingTheLastOne)
{
    WatchRig rig;
    std::vector<double> sends;
    rig.sender.onReport = [&] (const juce::String&) { sends.push_back (rig.clockMs); };

    // A save every 10 ms for a second, looked at every 5 ms.
    std::vector<double> saves;
    for (int step = 0; step <= 400; ++step)
    {
        const auto now = step * 5.0;
        if (step % 2 == 0 && now <= 1000.0)
        {
            write (rig.file, withTranspose ((step / 2) % 20));
            saves.push_back (now);
        }
        rig.pollAt (now);
    }
    ASSERT_FALSE (sends.empty());
    EXPECT_LE (sends.size(), 1000u / 300u + 2u);
    for (const auto save : saves)
    {
        const auto firstAfter = std::lower_bound (sends.begin(), sends.end(), save);
        ASSERT_NE (firstAfter, sends.end()) << "the save at " << save << " ms was never sent";
        EXPECT_LE (*firstAfter - save, SendSchedule::longestWaitMs + 5.0) << "the save at " << save << " ms";
    }
    EXPECT_EQ (rig.marlo.getDroppedDumpCount(), 0);
    EXPECT_EQ (bytes (rig.marlo.getPreset()), bytes (withTranspose ((400 / 2) % 20)));
}

TEST (WatchedFileSenderTest, AFileCaughtHalfWrittenIsWaitedForAndSaidOnce)
{
    WatchRig rig;
    juce::StringArray said;
    rig.sender.onUnreadable = [&] (const juce::String& reason) { said.add (reason); };
    write (rig.file, withTranspose (3));
    rig.pollAt (0.0);
    rig.pollAt (200.0);
    ASSERT_EQ (rig.marlo.getDumpCount(), 1);

    const auto content = PresetCodec::encodeFile (withTranspose (9));
    ASSERT_TRUE (rig.file.replaceWithData (content.getData(), content.getSize() / 2));
    rig.pollAt (220.0);
    ASSERT_TRUE (rig.file.deleteFile());
    rig.pollAt (240.0);
    rig.pollAt (600.0);
    EXPECT_EQ (said.size(), 1) << said.joinIntoString ("\n");
    EXPECT_EQ (rig.marlo.getDumpCount(), 1) << "nothing is sent until the file reads again";

    write (rig.file, withTranspose (9));
    rig.pollAt (620.0);
    rig.pollAt (800.0);
    EXPECT_EQ (rig.marlo.getDumpCount(), 2);
    EXPECT_EQ (bytes (rig.marlo.getPreset()), bytes (withTranspose (9)));
}

namespace
{
struct WatchCommandTest : public ::testing::Test
{
    WatchCommandTest()
    {
        environment.makePorts = [this] (bool) -> std::unique_ptr<MidiPorts>
        { return std::make_unique<BorrowedPorts> (marlo); };
        environment.makeTimer = &TransferTimer::createSystemTimer;
        environment.waitForTransfer = [] (PresetTransfer&, const std::function<bool()>& finished)
        { runMessageLoopUntil (finished, 5000); };
        environment.nowMs = &juce::Time::getMillisecondCounterHiRes;
        marlo.setLatencyMs (1);
        write (file.getFile(), withTranspose (4));
    }

    int run (const juce::StringArray& arguments)
    {
        out.reset();
        err.reset();
        return PresetCommandLine (environment).run (arguments, out, err);
    }

    juce::String path() const { return file.getFile().getFullPathName(); }

    SimulatedMarlo marlo;
    juce::TemporaryFile file{".marlo"};
    juce::MemoryOutputStream out, err;
    PresetCommandLine::Environment environment;
};
} // namespace

TEST_F (WatchCommandTest, WatchSendsEachSavedPresetAndVerifiesTheLastOfABurst)
{
    // Stands in for the user: saves once the first preset is verified, and presses Ctrl+C (returns)
    // once the second is.
    environment.runUntil = [this] (const std::function<bool()>&)
    {
        ASSERT_TRUE (runMessageLoopUntil ([this] { return out.toString().contains ("verified at"); }));
        write (file.getFile(), withTranspose (11));
        ASSERT_TRUE (runMessageLoopUntil (
            [this]
            {
                return out.toString().removeCharacters ("\n").indexOf ("verified at") >= 0 &&
                       juce::StringArray::fromLines (out.toString().trimEnd()).size() >= 4;
            }));
    };
    EXPECT_EQ (run ({"watch", path(), "--out", simulated, "--in", simulated, "--verify"}), 0)
        << err.toString();
    const auto lines = juce::StringArray::fromLines (out.toString().trimEnd());
    ASSERT_EQ (lines.size(), 4) << out.toString();
    EXPECT_TRUE (lines[0].startsWith ("sent " + file.getFile().getFileName() + " at "));
    EXPECT_TRUE (lines[1].startsWith ("verified at "));
    EXPECT_TRUE (lines[2].startsWith ("sent "));
    EXPECT_TRUE (lines[3].startsWith ("verified at "));
    EXPECT_EQ (bytes (marlo.getPreset()), bytes (withTranspose (11)));
    EXPECT_EQ (marlo.getDumpCount(), 2);
}

TEST_F (WatchCommandTest, SendVerifySaysWhetherTheControllerHoldsThePreset)
{
    EXPECT_EQ (run ({"send", path(), "--out", simulated, "--in", simulated, "--verify"}), 0)
        << err.toString();
    EXPECT_EQ (bytes (marlo.getPreset()), bytes (withTranspose (4)));
    EXPECT_EQ (marlo.getRequestCount(), 1);

    marlo.setBehaviour (SimulatedMarlo::Behaviour::outOfRangeByte);
    EXPECT_EQ (run ({"send", path(), "--out", simulated, "--in", simulated, "--verify"}), 1);
    EXPECT_TRUE (err.toString().contains ("Invalid MIDI Message")) << err.toString();

    for (const auto& call : {juce::StringArray{"send", path(), "--out", simulated, "--verify"},
                             juce::StringArray{"send", path(), "--out", simulated, "--in", simulated},
                             juce::StringArray{"watch", path(), "--out", simulated, "--verify"},
                             juce::StringArray{"watch", path()}})
        EXPECT_EQ (run (call), 2) << call.joinIntoString (" ");
}
