#include <gtest/gtest.h>

#include "support/BoundPreset.h"
#include "support/RecordingDialogs.h"
#include "support/SystemUnderTest.h"

#include "midi/SimulatedMarlo.h"
#include "preset/PresetFile.h"
#include "preset/PresetFileFlow.h"
#include "preset/PresetMessages.h"

namespace
{
class PresetFileTest : public ::testing::Test
{
protected:
    PresetFileTest()
    {
        folder.createDirectory();
        auto image = factoryPresetData();
        image.set (44, 70);
        image.set (0, 24);
        image.set (92, 5);
        EXPECT_TRUE (controller->loadPresetData (image));
    }

    ~PresetFileTest() override { folder.deleteRecursively(); }

    juce::MemoryBlock savedBytes()
    {
        const auto file = folder.getChildFile ("saved.marlo");
        EXPECT_TRUE (controller->saveToFile (file));
        juce::MemoryBlock bytes;
        file.loadFileAsData (bytes);
        return bytes;
    }

    juce::File writeFile (const juce::String& name, const juce::MemoryBlock& bytes)
    {
        const auto file = folder.getChildFile (name);
        file.replaceWithData (bytes.getData(), bytes.getSize());
        return file;
    }

    /** Loads into a second document, which starts from the factory image. */
    bool loadsIntoFreshDocument (const juce::File& file)
    {
        other = createPresetController (midi);
        otherPreset = std::make_unique<BoundPreset> (*other);
        EXPECT_TRUE (other->loadPresetData (factoryPresetData()));
        return other->loadFromFile (file);
    }

    juce::File folder =
        juce::File::getSpecialLocation (juce::File::tempDirectory)
            .getChildFile ("marlo-file-test-" + juce::String::toHexString (juce::Random().nextInt64()));
    RecordingDialogs dialogs;
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    std::unique_ptr<PresetController> controller = createPresetController (midi);
    BoundPreset preset{*controller};
    std::unique_ptr<PresetController> other;
    std::unique_ptr<BoundPreset> otherPreset;
};
} // namespace

TEST_F (PresetFileTest, ASavedFileIsTheDumpMessageByteForByte)
{
    const auto bytes = savedBytes();
    ASSERT_EQ (bytes.getSize(), 103u);

    auto dump = controller->createDumpData();
    const auto message = juce::MidiMessage::createSysExMessage (dump.getRawDataPointer(), dump.size());
    ASSERT_EQ (message.getRawDataSize(), 103);
    EXPECT_EQ (0, memcmp (bytes.getData(), message.getRawData(), 103));

    const auto* raw = static_cast<const juce::uint8*> (bytes.getData());
    EXPECT_EQ (raw[0], 0xF0);
    EXPECT_EQ (raw[6], 0x61);
    EXPECT_EQ (raw[9 + 44], 70);
    EXPECT_EQ (raw[102], 0xF7);
}

TEST_F (PresetFileTest, SavingAndLoadingGivesBackTheSameImage)
{
    const auto file = writeFile ("round.marlo", savedBytes());
    ASSERT_TRUE (loadsIntoFreshDocument (file));
    EXPECT_EQ (other->getPresetData(), controller->getPresetData());
    EXPECT_EQ ((*otherPreset)["Pad 3 Program"].getValue(), 70.0);
    EXPECT_TRUE (dialogs.alertsShown().empty());
}

TEST_F (PresetFileTest, TheLastByteIsNotExamined)
{
    auto bytes = savedBytes();
    static_cast<juce::uint8*> (bytes.getData())[102] = 0x00;
    ASSERT_TRUE (loadsIntoFreshDocument (writeFile ("open-end.marlo", bytes)));
    EXPECT_EQ (other->getPresetData(), controller->getPresetData());
    // Still the editor's own file, which Save may write again.
    EXPECT_FALSE (other->getOrigin().foreign);
}

TEST_F (PresetFileTest, FilesWithoutAWholePresetOrMissingAreRefusedWithAnAlert)
{
    auto shorter = savedBytes();
    shorter.setSize (100);

    std::vector<juce::File> refused{writeFile ("short.marlo", shorter), folder.getChildFile ("missing.marlo"),
                                    folder};
    const auto pipe = folder.getChildFile ("pipe.marlo");
    const auto withPipe = SystemUnderTest::makePipe (pipe.getFullPathName());
    if (withPipe)
        refused.insert (refused.end(), {pipe, juce::File (SystemUnderTest::endlessDevice())});
    for (const auto& file : refused)
    {
        dialogs.clear();
        EXPECT_FALSE (loadsIntoFreshDocument (file)) << file.getFullPathName();
        EXPECT_EQ (other->getPresetData(), factoryPresetData());
        ASSERT_EQ (dialogs.alertsShown().size(), 1u);
        EXPECT_EQ (dialogs.alertsShown()[0].title, "Invalid File");
        // The second line says what "marlo-preset validate" says of the file.
        PresetCodec::Image unread;
        const auto reason = PresetFile::read (file, unread).getErrorMessage();
        EXPECT_TRUE (reason.isNotEmpty());
        EXPECT_EQ (dialogs.alertsShown()[0].message,
                   "File is invalid or currupt\r\n" + file.getFullPathName() + ": " + reason);
    }
    if (!withPipe)
        GTEST_SKIP()
            << "the files were refused; this system has no named pipe in a folder, nor a device by path";
}

TEST_F (PresetFileTest, AFailedLoadGivesTheReasonTheToolPrintsAndTakesNothing)
{
    auto shorter = savedBytes();
    shorter.setSize (60);
    for (const auto& file : {writeFile ("short.marlo", shorter), folder.getChildFile ("missing.marlo")})
    {
        dialogs.clear();
        PresetFile::Reading reading;
        bool applied = false;
        const auto loaded = PresetFileFlow::load (
            file, reading, [&applied] (const PresetCodec::Image&) { return applied = true; });
        PresetCodec::Image unread;
        const auto reason = PresetFile::read (file, unread).getErrorMessage();
        EXPECT_TRUE (loaded.failed()) << file.getFullPathName();
        EXPECT_FALSE (applied);
        EXPECT_EQ (loaded.getErrorMessage(), reason);
        ASSERT_EQ (dialogs.countAlerts ("Invalid File"), 1);
        EXPECT_TRUE (dialogs.alertsShown()[0].message.endsWith (file.getFullPathName() + ": " + reason));
    }
}

TEST_F (PresetFileTest, APresetTheDocumentRefusesIsAFailedLoadThoughTheFileIsSound)
{
    const auto file = writeFile ("sound.marlo", savedBytes());
    dialogs.clear();
    PresetFile::Reading reading;
    const auto loaded =
        PresetFileFlow::load (file, reading, [] (const PresetCodec::Image&) { return false; });
    EXPECT_TRUE (loaded.failed());
    EXPECT_TRUE (loaded.getErrorMessage().isNotEmpty());
    EXPECT_EQ (dialogs.countAlerts ("Invalid File"), 1);
}

TEST_F (PresetFileTest, AFileOfSeveralPresetsSaysTheFirstIsShown)
{
    auto two = savedBytes();
    two.append (savedBytes().getData(), two.getSize());
    const auto file = writeFile ("bank.syx", two);
    dialogs.clear();
    ASSERT_TRUE (loadsIntoFreshDocument (file));
    EXPECT_EQ (other->getPresetData(), controller->getPresetData());
    ASSERT_EQ (dialogs.alertsShown().size(), 1u);
    EXPECT_EQ (dialogs.alertsShown()[0].message, "bank.syx holds 2 presets; the first is shown");

    dialogs.clear();
    ASSERT_TRUE (loadsIntoFreshDocument (writeFile ("one.syx", savedBytes())));
    EXPECT_TRUE (dialogs.alertsShown().empty());
}

TEST_F (PresetFileTest, AFileOfAnyOtherSizeLoadsWhenItHoldsTheWholeDump)
{
    // A capture that stopped before F7, and one with a byte after it.
    auto longer = savedBytes();
    longer.append ("\xF7", 1);
    auto shorter = savedBytes();
    shorter.setSize (102);
    for (const auto& file : {writeFile ("long.syx", longer), writeFile ("short.syx", shorter)})
    {
        ASSERT_TRUE (loadsIntoFreshDocument (file)) << file.getFullPathName();
        EXPECT_EQ (other->getPresetData(), controller->getPresetData());
        EXPECT_TRUE (other->getOrigin().foreign);
    }
}

TEST_F (PresetFileTest, AWrongHeaderIsRefusedAndTheUserIsTold)
{
    // The factory dump (byte 5 is 41), a request (command 62) and another maker's dump.
    for (const auto& [index, value] :
         std::vector<std::pair<int, juce::uint8>>{{5, 0x41}, {6, 0x62}, {2, 0x3B}, {0, 0xF1}})
    {
        auto bytes = savedBytes();
        static_cast<juce::uint8*> (bytes.getData())[index] = value;
        dialogs.clear();
        EXPECT_FALSE (loadsIntoFreshDocument (writeFile ("foreign.marlo", bytes))) << index;
        EXPECT_EQ (other->getPresetData(), factoryPresetData());
        EXPECT_EQ (dialogs.countAlerts ("Invalid File"), 1) << index;
    }
}

TEST_F (PresetFileTest, AByteOutOfRangeRefusesTheWholeFile)
{
    auto bytes = savedBytes();
    static_cast<juce::uint8*> (bytes.getData())[9 + 2] = 16; // keybed channel 0 to 15
    static_cast<juce::uint8*> (bytes.getData())[9 + 44] = 12;
    EXPECT_FALSE (loadsIntoFreshDocument (writeFile ("range.marlo", bytes)));
    EXPECT_EQ (other->getPresetData(), factoryPresetData());
    EXPECT_EQ ((*otherPreset)["Pad 3 CC"].getValue(), 42.0);
    ASSERT_EQ (dialogs.countAlerts ("Invalid File"), 1);
    EXPECT_TRUE (dialogs.alertsShown()[0].message.contains ("range.marlo: "))
        << dialogs.alertsShown()[0].message;
}

TEST_F (PresetFileTest, AFailedWriteIsReportedWithTheFileName)
{
    const auto target = folder.getChildFile ("no-such-folder").getChildFile ("preset.marlo");
    EXPECT_FALSE (controller->saveToFile (target));
    EXPECT_FALSE (target.exists());
    ASSERT_EQ (dialogs.alertsShown().size(), 1u);
    EXPECT_TRUE (dialogs.alertsShown()[0].message.contains (target.getFullPathName()));
}

TEST_F (PresetFileTest, AReadOnlyFileIsNotSavedAndTheAlertSaysWhy)
{
    const auto file = writeFile ("read-only.marlo", juce::MemoryBlock ("mine", 4));
    ASSERT_TRUE (SystemUnderTest::makeReadOnly (file.getFullPathName()));
    EXPECT_FALSE (controller->saveToFile (file));
    EXPECT_EQ (file.loadFileAsString(), "mine");
    ASSERT_EQ (dialogs.alertsShown().size(), 1u);
    EXPECT_EQ (dialogs.alertsShown()[0].title, "File Not Saved");
    EXPECT_TRUE (dialogs.alertsShown()[0].message.endsWith ("the file is read-only"))
        << dialogs.alertsShown()[0].message;
}

TEST_F (PresetFileTest, APresetTheEditorWroteInAnyPadModeLoadsAgain)
{
    preset["Pad 5 Mode"].userSets (2); // "CC Momentary": byte +3 is "Released"
    preset["Pad 5 Released"].userSets (127);
    for (int mode : {2, 0, 1, 3, 0})
    {
        preset["Pad 5 Mode"].userSets (mode);
        const auto file = writeFile ("modes.marlo", savedBytes());
        dialogs.clear();
        EXPECT_TRUE (loadsIntoFreshDocument (file)) << mode;
        EXPECT_TRUE (dialogs.alertsShown().empty()) << mode;
    }
}
