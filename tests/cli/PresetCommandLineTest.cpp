#include <gtest/gtest.h>

#include "cli/PresetCommandLine.h"
#include "midi/CombinedMidiPorts.h"
#include "midi/PresetTransfer.h"
#include "midi/SimulatedMarlo.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetCodec.h"
#include "preset/PresetModel.h"
#include "preset/ShownValue.h"
#include "support/BorrowedPorts.h"
#include "support/ManualTimer.h"
#include "support/MessageLoop.h"
#include "support/SysExBytes.h"
#include "support/SystemUnderTest.h"

namespace
{
struct Outcome
{
    int code = -1;
    juce::String out;
    juce::String err;
};

std::vector<int> bytes (const PresetCodec::Image& image)
{
    return {image.begin(), image.end()};
}

struct PresetCommandLineTest : public ::testing::Test
{
    PresetCommandLineTest()
    {
        environment.makePorts = [this] (bool simulated) -> std::unique_ptr<MidiPorts>
        {
            simulatedAskedFor = simulated;
            return std::make_unique<BorrowedPorts> (marlo);
        };
        environment.makeTimer = &TransferTimer::createSystemTimer;
        environment.waitForTransfer = [] (PresetTransfer&, const std::function<bool()>& finished)
        { runMessageLoopUntil (finished, 5000); };
        marlo.setLatencyMs (5);
    }

    Outcome run (const juce::StringArray& arguments)
    {
        juce::MemoryOutputStream out, err;
        const auto code = PresetCommandLine (environment).run (arguments, out, err);
        return {code, out.toString(), err.toString()};
    }

    juce::String path (const juce::String& name) const
    {
        return folder.getFile().getChildFile (name).getFullPathName();
    }

    juce::String writeImage (const juce::String& name, const PresetCodec::Image& image) const
    {
        const auto content = PresetCodec::encodeFile (image);
        juce::File (path (name)).replaceWithData (content.getData(), content.getSize());
        return path (name);
    }

    juce::String writeBytes (const juce::String& name, const SysExBytes::Bytes& content) const
    {
        juce::File (path (name)).replaceWithData (content.data(), content.size());
        return path (name);
    }

    juce::MemoryBlock contentOf (const juce::String& file) const
    {
        juce::MemoryBlock block;
        juce::File (file).loadFileAsData (block);
        return block;
    }

    PresetCodec::Image imageOf (const juce::String& file) const
    {
        const auto block = contentOf (file);
        PresetCodec::Image image;
        EXPECT_TRUE (PresetCodec::decodeFile (block.getData(), block.getSize(), image).wasOk()) << file;
        return image;
    }

    juce::TemporaryFile folder;
    SimulatedMarlo marlo;
    bool simulatedAskedFor = false;
    PresetCommandLine::Environment environment;

    void SetUp() override { ASSERT_TRUE (folder.getFile().createDirectory().wasOk()); }
    void TearDown() override { folder.getFile().deleteRecursively(); }
};
} // namespace

TEST_F (PresetCommandLineTest, HelpWorksForEveryCommandAndUsageErrorsExitWithTwo)
{
    for (const auto* command :
         {"new", "show", "validate", "diff", "set", "names", "convert", "ports", "send", "get", "compare"})
    {
        const auto help = run ({command, "--help"});
        EXPECT_EQ (help.code, 0) << command;
        EXPECT_TRUE (help.out.startsWith (juce::String ("usage: marlo-preset ") + command)) << help.out;
    }
    EXPECT_EQ (run ({"--help"}).code, 0);
    EXPECT_TRUE (run ({"--help"}).out.contains ("marlo-preset get FILE --in NAME --out NAME"));

    for (const auto& wrong :
         {juce::StringArray{}, juce::StringArray{"frobnicate"}, juce::StringArray{"show"},
          juce::StringArray{"show", "--colour", "a.marlo"}, juce::StringArray{"diff", "a"},
          juce::StringArray{"set", "a.marlo"}, juce::StringArray{"send", "a.marlo"},
          juce::StringArray{"get", "a.marlo", "--out", "x"}, juce::StringArray{"get", "a.marlo", "--in"},
          juce::StringArray{"convert", "a.marlo"}, juce::StringArray{"compare", "a.marlo", "--in", "x"}})
    {
        const auto outcome = run (wrong);
        EXPECT_EQ (outcome.code, 2) << wrong.joinIntoString (" ");
        EXPECT_TRUE (outcome.err.contains ("usage: marlo-preset")) << outcome.err;
        EXPECT_TRUE (outcome.out.isEmpty());
    }
}

TEST_F (PresetCommandLineTest, NewWritesTheFactoryPresetAndNeverOverwrites)
{
    const auto file = path ("new.marlo");
    EXPECT_EQ (run ({"new", file}).code, 0);
    EXPECT_EQ (bytes (imageOf (file)), bytes (PresetModel().getImage()));

    juce::File (file).replaceWithText ("mine");
    const auto again = run ({"new", file});
    EXPECT_EQ (again.code, 2);
    EXPECT_TRUE (again.err.contains (file));
    EXPECT_EQ (juce::File (file).loadFileAsString(), "mine");

    const auto nowhere = run ({"new", path ("missing/folder/x.marlo")});
    EXPECT_EQ (nowhere.code, 2);
    EXPECT_TRUE (nowhere.err.contains (path ("missing/folder/x.marlo"))) << nowhere.err;
}

TEST_F (PresetCommandLineTest, ShowListsTheShownParametersWithTheValuesTheEditorShows)
{
    auto image = factoryPresetData();
    image.set (0, 7);                                   // Transpose -5
    image.set (2, 15);                                  // channel 16
    image.set (controlOffset (ControlType::Pad, 1), 1); // CC Toggle
    const auto file = writeImage ("a.marlo", image);

    const auto outcome = run ({"show", file});
    ASSERT_EQ (outcome.code, 0) << outcome.err;
    juce::StringArray lines;
    lines.addLines (outcome.out.trimEnd());
    PresetModel model;
    ASSERT_TRUE (model.load (image).wasOk());
    EXPECT_EQ (lines.size(), model.getShownNames().size());
    EXPECT_EQ (lines[0], "Keybed MIDI Channel = 16");
    EXPECT_TRUE (lines.contains ("Keybed Transpose = -5"));
    EXPECT_TRUE (lines.contains ("Pad 1 Mode = CC Toggle"));
    EXPECT_TRUE (
        lines.contains ("Pad 1 CC = " + juce::String (image[controlOffset (ControlType::Pad, 1) + 1])));
    EXPECT_FALSE (outcome.out.contains ("Pad 1 Note ="));

    const auto json = juce::JSON::parse (run ({"show", "--json", file}).out);
    auto* object = json.getDynamicObject();
    ASSERT_NE (object, nullptr);
    EXPECT_EQ (object->getProperties().size(), model.getShownNames().size());
    EXPECT_TRUE (object->getProperty ("Keybed Transpose").isInt());
    EXPECT_EQ (static_cast<int> (object->getProperty ("Keybed Transpose")), -5);
    EXPECT_TRUE (object->getProperty ("Pad 1 Mode").isString());
    EXPECT_EQ (object->getProperty ("Pad 1 Mode").toString(), "CC Toggle");
}

TEST_F (PresetCommandLineTest, FilesThatCannotBeOpenedAreFileErrorsNamingTheFile)
{
    const auto missing = path ("missing.marlo");
    const auto shortFile = path ("short.marlo");
    juce::File (shortFile).replaceWithText ("F0");
    for (const auto& arguments :
         {juce::StringArray{"show", missing}, juce::StringArray{"show", shortFile},
          juce::StringArray{"set", missing, "Keybed Octave=1"}, juce::StringArray{"diff", missing, shortFile},
          juce::StringArray{"convert", shortFile, path ("out.syx")},
          juce::StringArray{"send", folder.getFile().getFullPathName(), "--out", "x"}})
    {
        const auto outcome = run (arguments);
        EXPECT_EQ (outcome.code, 2) << arguments.joinIntoString (" ");
        EXPECT_TRUE (outcome.err.contains (arguments[1])) << outcome.err;
    }
    EXPECT_EQ (juce::File (shortFile).loadFileAsString(), "F0");
}

TEST_F (PresetCommandLineTest, ValidateNamesEachBadFileWithTheByteParameterAndRange)
{
    const auto good1 = writeImage ("good1.marlo", factoryPresetData());
    auto image = factoryPresetData();
    image.set (2, 16);
    const auto good2 = writeImage ("good2.marlo", PresetModel().getImage());
    const auto outOfRange = writeImage ("range.marlo", image);
    const auto truncated = path ("truncated.marlo");
    auto content = contentOf (good1);
    content.setSize (90);
    juce::File (truncated).replaceWithData (content.getData(), content.getSize());
    const auto foreign = path ("foreign.marlo");
    content = contentOf (good1);
    static_cast<juce::uint8*> (content.getData())[2] = 0x11;
    juce::File (foreign).replaceWithData (content.getData(), content.getSize());

    EXPECT_EQ (run ({"validate", good1, good2}).code, 0);
    EXPECT_TRUE (run ({"validate", good1, good2}).out.isEmpty());

    const auto bad = run ({"validate", good1, outOfRange, truncated, good2, foreign});
    EXPECT_EQ (bad.code, 1);
    juce::StringArray lines;
    lines.addLines (bad.out.trimEnd());
    ASSERT_EQ (lines.size(), 3) << bad.out;
    EXPECT_TRUE (lines[0].startsWith (outOfRange +
                                      ": preset byte 2 (file byte 11) (Keybed MIDI Channel) holds 16, "
                                      "outside the range 0 to 15"))
        << lines[0];
    EXPECT_EQ (lines[1],
               truncated + ": no preset dump among 1 message (one carries 81 of the 93 preset bytes)");
    EXPECT_EQ (lines[2], foreign + ": no preset dump among 1 message");

    const auto unreadable = run ({"validate", good1, path ("nothing.marlo"), outOfRange});
    EXPECT_EQ (unreadable.code, 2);
    EXPECT_TRUE (unreadable.out.contains (path ("nothing.marlo") + ": no such file"));
}

TEST_F (PresetCommandLineTest, SetShowAndDiffMakeARoundTrip)
{
    const auto original = path ("original.marlo");
    const auto edited = path ("edited.marlo");
    ASSERT_EQ (run ({"new", original}).code, 0);
    ASSERT_TRUE (juce::File (original).copyFileTo (edited));

    PresetModel factory;
    const auto before = ShownValue::of (factory, "Keybed Transpose").toString();
    ASSERT_NE (before, "-5");
    const auto set = run ({"set", edited, "Keybed Transpose=-5"});
    ASSERT_EQ (set.code, 0) << set.err;
    EXPECT_TRUE (run ({"show", edited}).out.contains ("Keybed Transpose = -5\n"));

    const auto diff = run ({"diff", original, edited});
    EXPECT_EQ (diff.code, 1);
    EXPECT_EQ (diff.out, "Keybed Transpose: " + before + " -> -5\n");
    const auto same = run ({"diff", original, original});
    EXPECT_EQ (same.code, 0);
    EXPECT_TRUE (same.out.isEmpty());

    // Back to the original value: the files are the same again, byte for byte.
    ASSERT_EQ (run ({"set", edited, "Keybed Transpose=" + before}).code, 0);
    EXPECT_EQ (run ({"diff", original, edited}).code, 0);
    EXPECT_EQ (contentOf (original), contentOf (edited));
}

TEST_F (PresetCommandLineTest, SetChangesBytesAsTheEditorWouldIncludingAModeChange)
{
    const auto file = path ("pad.marlo");
    ASSERT_EQ (run ({"new", file}).code, 0);

    // The same steps on a model that opened the file: the editor's rules, proven against the real
    // widget tree elsewhere.
    PresetModel expected;
    ASSERT_TRUE (expected.load (imageOf (file)).wasOk());
    ASSERT_TRUE (expected.setStoredValue ("Pad 1 Note", 60).wasOk());
    ASSERT_TRUE (expected.setStoredValue ("Pad 1 Mode", 1).wasOk());
    ASSERT_TRUE (expected.setStoredValue ("Keybed MIDI Channel", 9).wasOk());

    const auto outcome =
        run ({"set", file, "Pad 1 Note=60", "Pad 1 Mode=CC Toggle", "Keybed MIDI Channel=10"});
    ASSERT_EQ (outcome.code, 0) << outcome.err;
    EXPECT_EQ (bytes (imageOf (file)), bytes (expected.getImage()));
    // The shared byte took the CC box's value, not the note typed before.
    EXPECT_EQ (imageOf (file)[controlOffset (ControlType::Pad, 1) + 1],
               *expected.getStoredValue ("Pad 1 CC"));
    // Only the preset is left in the folder: no temporary file stays behind.
    EXPECT_EQ (folder.getFile().getNumberOfChildFiles (
                   juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, "*"),
               1);
    EXPECT_EQ (folder.getFile().getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 1);
}

TEST_F (PresetCommandLineTest, SetIsAllOrNothing)
{
    const auto file = path ("keep.marlo");
    ASSERT_EQ (run ({"new", file}).code, 0);
    const auto before = contentOf (file);

    for (const auto& [assignment, phrase] : std::vector<std::pair<juce::String, juce::String>>{
             {"Keybed Volume=3", "no parameter \"Keybed Volume\""},
             {"Keybed MIDI Channel=0", "takes 1 to 16"},
             {"Keybed Transpose=13", "takes -12 to 12"},
             {"Keybed Octave=two", "not \"two\""},
             {"Pad 1 Mode=Drum", "is one of \"Note\""},
             {"Pad 1 Toggle On=5", "not shown"}})
    {
        // A valid change first: it must not survive the refusal after it.
        const auto outcome = run ({"set", file, "Keybed Octave=1", assignment});
        EXPECT_EQ (outcome.code, 1) << assignment;
        EXPECT_TRUE (outcome.err.contains (phrase)) << outcome.err;
        EXPECT_TRUE (outcome.err.contains (file)) << outcome.err;
        EXPECT_EQ (contentOf (file), before) << assignment;
    }
    const auto malformed = run ({"set", file, "Keybed Octave"});
    EXPECT_EQ (malformed.code, 2);
    EXPECT_EQ (contentOf (file), before);
}

TEST_F (PresetCommandLineTest, FilesThatMayNotBeReadOrWrittenAreRefusedNamingTheFile)
{
    const auto file = path ("read-only.marlo");
    ASSERT_EQ (run ({"new", file}).code, 0);
    ASSERT_TRUE (SystemUnderTest::makeReadOnly (file));
    const auto before = contentOf (file);
    const auto refused = run ({"set", file, "Keybed Octave=1"});
    EXPECT_EQ (refused.code, 2);
    EXPECT_TRUE (refused.err.contains (file + ": cannot be written: ")) << refused.err;
    EXPECT_TRUE (refused.err.contains ("the file is read-only")) << refused.err;
    EXPECT_EQ (contentOf (file), before);

    const auto pipe = path ("pipe.marlo");
    const auto device = SystemUnderTest::endlessDevice();
    if (!SystemUnderTest::makePipe (pipe))
        GTEST_SKIP() << "this system has no named pipe in a folder, nor a device by path";
    const auto validated = run ({"validate", device, pipe});
    EXPECT_EQ (validated.code, 2);
    EXPECT_EQ (validated.out,
               device + ": is a device, not a preset file\n" + pipe + ": is a pipe, not a preset file\n");
    // The file refused comes last but for the assignment of set.
    for (const auto& arguments :
         {juce::StringArray{"show", pipe}, juce::StringArray{"set", pipe, "Keybed Octave=1"},
          juce::StringArray{"diff", file, device}})
    {
        const auto outcome = run (arguments);
        const auto& refusedFile = arguments[arguments[0] == "set" ? 1 : arguments.size() - 1];
        EXPECT_EQ (outcome.code, 2) << arguments[0];
        EXPECT_TRUE (outcome.err.contains (refusedFile + ": is a ")) << outcome.err;
    }
}

TEST_F (PresetCommandLineTest, SetsRunningAtTheSameTimeOnOneFileLoseNoChange)
{
    const auto file = path ("shared.marlo");
    ASSERT_EQ (run ({"new", file}).code, 0);
    const juce::StringArray names{"Knob 1 CC",  "Knob 2 CC",  "Knob 3 CC",  "Knob 4 CC",
                                  "Knob 1 Min", "Knob 2 Min", "Knob 3 Min", "Knob 4 Min"};
    constexpr int rounds = 12;

    // Each process changes its own parameter again and again, the last time to 100 + its index:
    // without the lock, a set that read the file before another wrote it writes the old value back.
    const auto ended = SystemUnderTest::runInForkedChildren (
        names.size(),
        [&] (int i)
        {
            int failed = 0;
            for (int round = 1; round <= rounds; ++round)
                failed +=
                    run ({"set", file, names[i] + "=" + juce::String (round == rounds ? 100 + i : round)})
                        .code != 0;
            return failed;
        });
    if (ended.empty())
        GTEST_SKIP() << "this system cannot fork the test into processes that run at the same time";
    for (size_t i = 0; i < ended.size(); ++i)
        EXPECT_TRUE (ended[i]) << names[(int)i];

    PresetModel model;
    ASSERT_TRUE (model.load (imageOf (file)).wasOk());
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ (ShownValue::of (model, names[i]).toString(), juce::String (100 + i)) << names[i];
}

TEST_F (PresetCommandLineTest, PortsListTheDevices)
{
    const auto outcome = run ({"ports", "--simulated-device"});
    EXPECT_EQ (outcome.code, 0);
    EXPECT_TRUE (simulatedAskedFor);
    EXPECT_EQ (outcome.out, "in: Marlo (simulated)\nout: Marlo (simulated)\n");
    EXPECT_TRUE (outcome.err.isEmpty()) << outcome.err;
}

TEST_F (PresetCommandLineTest, WithoutAMidiServiceEveryMidiCommandSaysSoOnceAndPortsSaysThereAreNone)
{
    environment.missingMidiService = [] { return juce::String ("there is no MIDI service (a reason)"); };
    environment.makePorts = [] (bool)
    { return std::make_unique<CombinedMidiPorts> (std::vector<std::unique_ptr<MidiPorts>>{}); };
    const auto noService = "marlo-preset: there is no MIDI service (a reason)\n";

    const auto ports = run ({"ports"});
    EXPECT_EQ (ports.code, 0);
    EXPECT_TRUE (ports.out.isEmpty());
    EXPECT_EQ (ports.err, noService + juce::String ("marlo-preset: there are no MIDI inputs or outputs\n"));

    const auto file = path ("a.marlo");
    ASSERT_EQ (run ({"new", file}).err, "") << "a command without MIDI says nothing of it";
    const auto send = run ({"send", file, "--out", "Marlo"});
    EXPECT_EQ (send.code, 1);
    EXPECT_TRUE (send.err.startsWith (noService)) << send.err;
    EXPECT_EQ (send.err.indexOf ("MIDI service"), send.err.lastIndexOf ("MIDI service")) << send.err;
}

TEST_F (PresetCommandLineTest, NamesListEveryParameterAndSetTakesThemInAnyCase)
{
    const auto names = run ({"names"});
    EXPECT_EQ (names.code, 0);
    const auto lines = juce::StringArray::fromLines (names.out.trimEnd());
    EXPECT_EQ (lines.size(), static_cast<int> (ParameterIndex::all().size()));
    for (const auto* line :
         {"Keybed MIDI Channel: 1 to 16", "Keybed Transpose: -12 to 12", "Knob 1 Mode: CC, Aftertouch",
          "Knob 1 CC: 0 to 127 (when Mode is CC)", "Pad 8 Toggle Off: 0 to 127 (when Mode is CC Toggle)",
          "Switch 4 CC: 0 to 127 (when Mode is CC Toggle or CC Momentary)"})
        EXPECT_TRUE (lines.contains (line)) << line;

    const auto file = path ("any-case.marlo");
    ASSERT_EQ (run ({"new", file}).code, 0);
    const auto set = run ({"set", file, "knob 1 cc=74", "PAD 1 MODE=CC Toggle"});
    ASSERT_EQ (set.code, 0) << set.err;
    const auto shown = run ({"show", file}).out;
    EXPECT_TRUE (shown.contains ("Knob 1 CC = 74\n")) << shown;
    EXPECT_TRUE (shown.contains ("Pad 1 Mode = CC Toggle\n")) << shown;

    const auto before = contentOf (file);
    const auto typo = run ({"set", file, "Knob 1 CCC=3"});
    EXPECT_EQ (typo.code, 1);
    EXPECT_TRUE (typo.err.contains ("there is no parameter \"Knob 1 CCC\" (the nearest: \"Knob 1 CC\""))
        << typo.err;
    EXPECT_FALSE (run ({"set", file, "Volume=3"}).err.contains ("nearest"));
    EXPECT_EQ (contentOf (file), before);
}

TEST_F (PresetCommandLineTest, SendDeliversTheFilesPresetOrSaysWhyNot)
{
    auto image = factoryPresetData();
    image.set (24, 77);
    const auto file = writeImage ("send.marlo", image);

    const auto sent = run ({"send", file, "--out", SimulatedMarlo::deviceName, "--simulated-device"});
    EXPECT_EQ (sent.code, 0) << sent.err;
    EXPECT_EQ (marlo.getDumpCount(), 1);
    EXPECT_EQ (bytes (marlo.getPreset()), bytes (image));

    // In the tool's words alone: the editor's alert speaks of a Device Setup the tool does not have.
    const auto nowhere = run ({"send", file, "--out", "Nothing"});
    EXPECT_EQ (nowhere.code, 1);
    EXPECT_EQ (nowhere.err,
               "marlo-preset: there is no MIDI output named \"Nothing\" (see \"marlo-preset ports\")\n");
    EXPECT_EQ (marlo.getDumpCount(), 1);
}

TEST_F (PresetCommandLineTest, GetWritesTheControllersPreset)
{
    auto image = factoryPresetData();
    image.set (2, 9);
    image.set (44, 61);
    image.set (controlOffset (ControlType::Pad, 2), 2);
    image.set (controlOffset (ControlType::Pad, 2) + 3, 100); // "Released", out of any curve's range
    marlo.setPreset (image);
    const auto file = path ("got.marlo");

    const auto outcome =
        run ({"get", file, "--in", SimulatedMarlo::deviceName, "--out", SimulatedMarlo::deviceName});
    ASSERT_EQ (outcome.code, 0) << outcome.err;
    EXPECT_EQ (bytes (imageOf (file)), bytes (image));
    EXPECT_TRUE (outcome.err.contains ("MIDI Get Sucess: Preset sucessfully retrieved from hardware."));
    EXPECT_EQ (marlo.getRequestCount(), 1);
}

TEST_F (PresetCommandLineTest, ASilentControllerTimesOutAfterTheEditorsRepeats)
{
    marlo.setBehaviour (SimulatedMarlo::Behaviour::silent);
    // The transfer's timer steps, driven one after another instead of waiting seven seconds.
    int steps = 0;
    ManualTimer* timer = nullptr;
    environment.makeTimer = [&timer]
    {
        auto made = std::make_unique<ManualTimer>();
        timer = made.get();
        return made;
    };
    environment.waitForTransfer = [&] (PresetTransfer& transfer, const std::function<bool()>& finished)
    {
        while (!finished() && steps < 20)
        {
            ASSERT_TRUE (transfer.isAwaitingReply());
            timer->fire();
            ++steps;
        }
    };
    const auto file = path ("none.marlo");
    const auto outcome =
        run ({"get", file, "--in", SimulatedMarlo::deviceName, "--out", SimulatedMarlo::deviceName});
    EXPECT_EQ (outcome.code, 1);
    EXPECT_EQ (steps, PresetTransfer::maxRetries + 1);
    EXPECT_EQ (marlo.getRequestCount(), PresetTransfer::maxRetries + 1);
    EXPECT_TRUE (
        outcome.err.contains ("MIDI Get Preset Unsuccessful: Verify MIDI device settings and try again."))
        << outcome.err;
    EXPECT_FALSE (juce::File (file).exists());
}

TEST_F (PresetCommandLineTest, AnInvalidReplyOrNoDeviceLeavesTheFileUntouched)
{
    const auto file = path ("kept.marlo");
    ASSERT_EQ (run ({"new", file}).code, 0);
    const auto before = contentOf (file);

    marlo.setBehaviour (SimulatedMarlo::Behaviour::outOfRangeByte);
    const auto invalid =
        run ({"get", file, "--in", SimulatedMarlo::deviceName, "--out", SimulatedMarlo::deviceName});
    EXPECT_EQ (invalid.code, 1);
    EXPECT_TRUE (invalid.err.contains ("Invalid MIDI Message: Verify MIDI Connection and Device Settings"))
        << invalid.err;

    const auto noInput = run ({"get", file, "--in", "Nothing", "--out", SimulatedMarlo::deviceName});
    EXPECT_EQ (noInput.code, 1);
    EXPECT_TRUE (noInput.err.contains ("no MIDI input named \"Nothing\""));
    EXPECT_FALSE (noInput.err.contains ("No MIDI Device selected."));
    EXPECT_EQ (contentOf (file), before);
}

TEST_F (PresetCommandLineTest, CommandsThatReadTakeAnotherProgramsSysExAndNoteASecondPreset)
{
    using namespace SysExBytes;
    auto image = factoryPresetData();
    image.set (0, 7); // Transpose -5
    const auto captured = writeBytes (
        "captured.syx", join ({identityReply, presetMessage (image, replyCommand), firstMakersMessage}));
    const auto bank =
        writeBytes ("bank.syx", join ({presetMessage (image), presetMessage (factoryPresetData())}));

    const auto shown = run ({"show", captured});
    ASSERT_EQ (shown.code, 0) << shown.err;
    EXPECT_TRUE (shown.out.contains ("Keybed Transpose = -5\n"));
    EXPECT_TRUE (shown.err.isEmpty()) << shown.err;

    EXPECT_EQ (run ({"validate", captured, bank}).code, 0);
    const auto same = run ({"diff", captured, bank});
    EXPECT_EQ (same.code, 0) << same.out;
    EXPECT_EQ (same.err, "marlo-preset: " + bank + ": holds 2 presets; the first is read\n");

    const auto sent = run ({"send", captured, "--out", SimulatedMarlo::deviceName});
    EXPECT_EQ (sent.code, 0) << sent.err;
    EXPECT_EQ (bytes (marlo.getPreset()), bytes (image));

    const auto none =
        writeBytes ("none.syx", join ({identityReply, firstMakersMessage, secondMakersMessage}));
    const auto refused = run ({"validate", none});
    EXPECT_EQ (refused.code, 1);
    EXPECT_EQ (refused.out, none + ": no preset dump among 3 messages\n");
}

TEST_F (PresetCommandLineTest, SetRefusesAnythingButAPresetFileAndNamesConvert)
{
    using namespace SysExBytes;
    const auto syx = writeBytes ("captured.syx", join ({identityReply, presetMessage (factoryPresetData())}));
    const auto before = contentOf (syx);

    const auto refused = run ({"set", syx, "Keybed Octave=1"});
    EXPECT_EQ (refused.code, 1);
    EXPECT_TRUE (refused.err.contains ("is not a preset file")) << refused.err;
    EXPECT_TRUE (refused.err.contains ("marlo-preset convert " + syx + " NEW.marlo")) << refused.err;
    EXPECT_EQ (contentOf (syx), before);

    // The dump alone is exactly a preset file, whatever its name.
    const auto dump = writeBytes ("dump.syx", presetMessage (factoryPresetData()));
    EXPECT_EQ (run ({"set", dump, "Keybed Octave=1"}).code, 0);
}

TEST_F (PresetCommandLineTest, ConvertWritesTheDumpMessageByOutsExtension)
{
    using namespace SysExBytes;
    auto image = factoryPresetData();
    image.set (44, 61);
    const auto captured =
        writeBytes ("captured.syx",
                    join ({{0x00, 0x01}, identityReply, presetMessage (image, replyCommand), {0xF0, 0x43}}));

    ASSERT_EQ (run ({"convert", captured, path ("a.marlo")}).code, 0);
    EXPECT_EQ (contentOf (path ("a.marlo")), PresetCodec::encodeFile (image));
    ASSERT_EQ (run ({"convert", path ("a.marlo"), path ("b.SYX")}).code, 0);
    EXPECT_EQ (contentOf (path ("b.SYX")), contentOf (path ("a.marlo")));
    EXPECT_EQ (contentOf (captured).getSize(), 2 + identityReply.size() + 103 + 2)
        << "the input is untouched";

    const auto wrongKind = run ({"convert", captured, path ("a.txt")});
    EXPECT_EQ (wrongKind.code, 2);
    EXPECT_TRUE (wrongKind.err.contains ("OUT must end in \".marlo\"")) << wrongKind.err;
    EXPECT_FALSE (juce::File (path ("a.txt")).exists());

    // Onto itself, by its name or through a link, the captured file would keep only the preset.
    const auto before = contentOf (captured);
    const auto link = path ("link.syx");
    const auto linked = juce::File::createSymbolicLink (juce::File (link), captured, true);
    for (const auto& out : linked ? juce::StringArray{captured, link} : juce::StringArray{captured})
    {
        const auto refused = run ({"convert", captured, out});
        EXPECT_EQ (refused.code, 1) << out;
        EXPECT_TRUE (refused.err.contains ("is IN itself")) << refused.err;
        EXPECT_EQ (contentOf (captured), before) << out;
    }
    if (!linked)
        GTEST_SKIP() << "onto itself by its name only: no symbolic link can be made here";
}

TEST_F (PresetCommandLineTest, CompareListsWhatTheControllerHoldsDifferentlyAndWritesNothing)
{
    const auto file = writeImage ("mine.marlo", factoryPresetData());
    const auto before = contentOf (file);
    const juce::StringArray arguments{
        "compare", file, "--in", SimulatedMarlo::deviceName, "--out", SimulatedMarlo::deviceName};

    auto same = run (arguments);
    EXPECT_EQ (same.code, 0) << same.err;
    EXPECT_TRUE (same.out.isEmpty()) << same.out;

    auto theirs = factoryPresetData();
    theirs.set (0, 7); // Transpose -5
    marlo.setPreset (theirs);
    const auto different = run (arguments);
    EXPECT_EQ (different.code, 1) << different.err;
    EXPECT_EQ (different.out, "Keybed Transpose: " +
                                  ShownValue::of (PresetModel(), "Keybed Transpose").toString() + " -> -5\n");
    EXPECT_EQ (marlo.getRequestCount(), 2);
    EXPECT_EQ (marlo.getDumpCount(), 0);
    EXPECT_EQ (contentOf (file), before);

    const auto noAnswer = run ({"compare", file, "--in", "Nothing", "--out", SimulatedMarlo::deviceName});
    EXPECT_EQ (noAnswer.code, 1);
    EXPECT_TRUE (noAnswer.err.contains ("there is no MIDI input named \"Nothing\"")) << noAnswer.err;
    EXPECT_FALSE (noAnswer.err.contains ("No MIDI Device selected.")) << noAnswer.err;
    EXPECT_TRUE (noAnswer.out.isEmpty());
}

TEST_F (PresetCommandLineTest, AStrangersLinkInASharedFolderIsRefusedBySetAndConvert)
{
    if (!SystemUnderTest::asSuperuser())
        GTEST_SKIP() << "needs the superuser to give a link to another user";
    const auto victim = writeImage ("root-owned.marlo", PresetModel().getImage());
    const auto before = contentOf (victim);
    const auto shared = path ("shared");
    const auto evil = shared + "/evil.syx";
    ASSERT_TRUE (SystemUnderTest::plantStrangersLink (shared, evil, victim));
    auto changed = PresetModel().getImage();
    changed.set (0, 3);
    const auto good = writeImage ("good.marlo", changed);

    for (const auto& arguments :
         {juce::StringArray{"convert", good, evil}, juce::StringArray{"set", evil, "Keybed Transpose=-5"}})
    {
        const auto outcome = run (arguments);
        EXPECT_NE (outcome.code, 0) << arguments.joinIntoString (" ");
        EXPECT_TRUE (outcome.err.contains ("Permission denied: a link in a shared folder")) << outcome.err;
    }
    EXPECT_EQ (contentOf (victim), before);
}

TEST_F (PresetCommandLineTest, CtrlCWhileAGetOrCompareWaitsWritesNothingAndSaysSo)
{
    const auto target = writeImage ("kept.marlo", PresetModel().getImage());
    const auto before = contentOf (target);
    if (!SystemUnderTest::canSendCtrlC())
        GTEST_SKIP() << "Ctrl+C cannot be sent to this process alone here";
    marlo.setLatencyMs (60000);
    environment.waitForTransfer = [] (PresetTransfer&, const std::function<bool()>& finished)
    {
        SystemUnderTest::sendCtrlC();
        runMessageLoopUntil (finished, 5000);
    };

    for (const auto& command : {"get", "compare"})
    {
        const auto outcome =
            run ({command, target, "--in", SimulatedMarlo::deviceName, "--out", SimulatedMarlo::deviceName});
        EXPECT_EQ (outcome.code, PresetCommandLine::interrupted) << command << outcome.err;
        EXPECT_TRUE (outcome.out.isEmpty()) << outcome.out;
    }
    EXPECT_EQ (contentOf (target), before);
}
