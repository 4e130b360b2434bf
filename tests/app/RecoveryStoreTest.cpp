#include <gtest/gtest.h>

#include "AppTestSupport.h"

#include "app/RecoveryStore.h"
#include "preset/PresetCodec.h"
#include "support/SystemUnderTest.h"

namespace
{
class RecoveryStoreTest : public ::testing::Test
{
protected:
    std::unique_ptr<RecoveryStore> makeStore (const juce::String& instance = "editor-test")
    {
        return std::make_unique<RecoveryStore> (recoveryFolder, instance);
    }

    static RecoveryStore::Preset presetWith (juce::uint8 transpose, const juce::String& name,
                                             const juce::File& file = {})
    {
        auto image = factoryPresetData();
        image.set (0, transpose);
        return {name, file, image};
    }

    static int modeOf (const juce::File& file) { return (int)(SystemUnderTest::modeOf (file) & 0777); }

    juce::Array<juce::File> presetFilesOnDisk() const
    {
        return recoveryFolder.findChildFiles (juce::File::findFiles, true, "*.marlo");
    }

    TemporaryFolder folder;
    juce::File recoveryFolder = folder / "state/orvane-marlo-editor/recovery";
    // Stands for the document that owns an entry.
    int firstDocument = 0;
    int secondDocument = 0;
};
} // namespace

TEST_F (RecoveryStoreTest, AKeptPresetIsWrittenPrivatelyAsAPresetFileWithItsNameAndFile)
{
    auto store = makeStore();
    const auto saved = folder / "Bass.marlo";
    store->keep (&firstDocument, presetWith (4, "Bass", saved));
    store->keep (&firstDocument, presetWith (5, "Bass", saved));
    EXPECT_TRUE (presetFilesOnDisk().isEmpty()) << "written after a short delay, not at each change";

    store->flush();

    const auto files = presetFilesOnDisk();
    ASSERT_EQ (files.size(), 1);
    juce::MemoryBlock content;
    ASSERT_TRUE (files[0].loadFileAsData (content));
    EXPECT_EQ (content, PresetCodec::encodeFile (presetWith (5, "Bass").image)) << "the latest preset";
    if (SystemUnderTest::hasModes())
    {
        EXPECT_EQ (modeOf (files[0]), 0600);
        EXPECT_EQ (modeOf (files[0].withFileExtension (".txt")), 0600);
        EXPECT_EQ (modeOf (recoveryFolder), 0700);
        EXPECT_EQ (modeOf (files[0].getParentDirectory()), 0700);
    }
    EXPECT_EQ (juce::JSON::parse (files[0].withFileExtension (".txt").loadFileAsString())["file"].toString(),
               saved.getFullPathName());

    store->forget (&firstDocument);
    EXPECT_TRUE (presetFilesOnDisk().isEmpty());
    if (!SystemUnderTest::hasModes())
        GTEST_SKIP() << "privacy not checked: this system keeps access lists, not permission bits";
}

TEST_F (RecoveryStoreTest, ARunningEditorsEntriesAreNeverOfferedAndAnEndedOnesAreOfferedOnce)
{
    auto ended = makeStore();
    const auto file = folder / "Lead.marlo";
    ended->keep (&firstDocument, presetWith (6, "Untitled 2"));
    ended->keep (&secondDocument, presetWith (7, "Lead", file));
    ended->flush();

    auto starting = makeStore();
    EXPECT_TRUE (starting->claimLeftEntries().empty()) << "the first editor still holds its lock";

    // Ended without the save question (a signal): the entries stay for the next start.
    ended.reset();
    const auto entries = starting->claimLeftEntries();
    ASSERT_EQ (entries.size(), 2u);
    std::map<juce::String, RecoveryStore::Preset> byName;
    for (const auto& entry : entries)
        byName[entry.preset.name] = entry.preset;
    EXPECT_EQ (byName["Untitled 2"].file, juce::File());
    EXPECT_EQ (byName["Untitled 2"].image, presetWith (6, "").image);
    EXPECT_EQ (byName["Lead"].file, file);
    EXPECT_EQ (byName["Lead"].image, presetWith (7, "").image);

    // Claimed by this editor, they are nobody else's meanwhile, nor offered twice.
    EXPECT_TRUE (makeStore()->claimLeftEntries().empty());
    EXPECT_TRUE (starting->claimLeftEntries().empty());

    // Not recovered by the time this editor ends: offered at the next start again.
    starting.reset();
    EXPECT_EQ (makeStore()->claimLeftEntries().size(), 2u);
}

TEST_F (RecoveryStoreTest, RemovedEntriesGoAndAnotherInstancesEntriesAreNotTaken)
{
    {
        auto ended = makeStore ("editor-test-other");
        ended->keep (&firstDocument, presetWith (8, "Untitled 1"));
    }
    {
        auto ended = makeStore();
        ended->keep (&firstDocument, presetWith (9, "Untitled 1"));
    }

    auto store = makeStore();
    const auto entries = store->claimLeftEntries();
    ASSERT_EQ (entries.size(), 1u);
    EXPECT_EQ (entries[0].preset.image, presetWith (9, "").image);
    store->remove (entries[0]);
    store.reset();

    EXPECT_TRUE (makeStore()->claimLeftEntries().empty());
    EXPECT_EQ (makeStore ("editor-test-other")->claimLeftEntries().size(), 1u);
}

TEST_F (RecoveryStoreTest, AnEntryItsFileAlreadyHoldsIsNotOffered)
{
    const auto file = writePresetFile (folder / "Saved.marlo", 11);
    juce::MemoryBlock content;
    ASSERT_TRUE (file.loadFileAsData (content));
    PresetCodec::Image image;
    ASSERT_TRUE (PresetCodec::decodeFile (content.getData(), content.getSize(), image).wasOk());
    {
        auto ended = makeStore();
        ended->keep (&firstDocument, {"Saved", file, image});
        ended->keep (&secondDocument, presetWith (12, "Saved", file));
    }

    const auto entries = makeStore()->claimLeftEntries();
    ASSERT_EQ (entries.size(), 1u);
    EXPECT_EQ (entries[0].preset.image[0], 12);
}

TEST_F (RecoveryStoreTest, AFolderThatCannotBeWrittenCostsOneLineAndNoCrash)
{
    // A plain file where the folder should be.
    ASSERT_TRUE ((folder / "state").replaceWithText ("not a folder"));
    auto store = makeStore();

    ::testing::internal::CaptureStderr();
    store->keep (&firstDocument, presetWith (1, "Untitled 1"));
    store->flush();
    store->keep (&firstDocument, presetWith (2, "Untitled 1"));
    store->flush();
    const auto said = juce::String (::testing::internal::GetCapturedStderr());

    EXPECT_EQ (juce::StringArray::fromLines (said.trim()).size(), 1) << said;
    EXPECT_TRUE (said.contains ("recovery")) << said;
    EXPECT_TRUE (store->claimLeftEntries().empty());
}

TEST_F (RecoveryStoreTest, NothingButItsOwnEntriesIsTouchedAndALinkOrAnOpenFolderIsSkipped)
{
    if (!SystemUnderTest::hasModes())
        GTEST_SKIP() << "needs permission bits and symbolic links; this system keeps access lists";
    // A link named like an ended editor's session, to a folder of the user's other files, and a
    // session folder that anybody may write.
    const auto elsewhere = folder / "thesis";
    ASSERT_TRUE (elsewhere.createDirectory());
    ASSERT_TRUE (elsewhere.getChildFile ("thesis.txt").replaceWithText ("chapter one"));
    ASSERT_TRUE (elsewhere.getChildFile ("1.marlo").replaceWithText ("not a preset"));
    writePresetFile (elsewhere.getChildFile ("2.marlo"), 9);
    const auto before = elsewhere.findChildFiles (juce::File::findFiles, false).size();
    ASSERT_TRUE (recoveryFolder.createDirectory());
    ASSERT_TRUE (SystemUnderTest::setMode (recoveryFolder.getFullPathName(), 0700));
    ASSERT_TRUE (elsewhere.createSymbolicLink (recoveryFolder.getChildFile ("editor-test.1.abc"), true));
    const auto open = recoveryFolder.getChildFile ("editor-test.2.def");
    ASSERT_TRUE (open.createDirectory());
    writePresetFile (open.getChildFile ("1.marlo"), 10);
    ASSERT_TRUE (SystemUnderTest::setMode (open.getFullPathName(), 0777));
    // A session whose lock is a link to elsewhere.
    const auto linkedLock = recoveryFolder.getChildFile ("editor-test.3.ghi");
    ASSERT_TRUE (linkedLock.createDirectory());
    ASSERT_TRUE (SystemUnderTest::setMode (linkedLock.getFullPathName(), 0700));
    writePresetFile (linkedLock.getChildFile ("1.marlo"), 11);
    ASSERT_TRUE (
        elsewhere.getChildFile ("thesis.txt").createSymbolicLink (linkedLock.getChildFile ("lock"), true));

    ::testing::internal::CaptureStderr();
    {
        auto store = makeStore();
        EXPECT_TRUE (store->claimLeftEntries().empty());
        store->keep (&firstDocument, presetWith (3, "Untitled 1"));
        store->flush();
        store->forget (&firstDocument);
    }
    const auto said =
        juce::StringArray::fromLines (juce::String (::testing::internal::GetCapturedStderr()).trim());

    EXPECT_EQ (said.size(), 3) << said.joinIntoString ("\n");
    EXPECT_TRUE (said.joinIntoString ("\n").contains ("a link or a file, not a folder"));
    EXPECT_TRUE (said.joinIntoString ("\n").contains ("others may write to it"));
    EXPECT_TRUE (
        said.joinIntoString ("\n").contains ("editor-test.3.ghi: Too many levels of symbolic links"));
    EXPECT_EQ (elsewhere.findChildFiles (juce::File::findFiles, false).size(), before);
    EXPECT_EQ (elsewhere.getChildFile ("thesis.txt").loadFileAsString(), "chapter one");
    EXPECT_FALSE (elsewhere.getChildFile ("lock").exists());
    EXPECT_TRUE (open.getChildFile ("1.marlo").existsAsFile());

    // A recovery folder that is itself a link is not used at all.
    ASSERT_TRUE (recoveryFolder.deleteRecursively());
    ASSERT_TRUE (elsewhere.createSymbolicLink (recoveryFolder, true));
    ::testing::internal::CaptureStderr();
    {
        auto store = makeStore();
        EXPECT_TRUE (store->claimLeftEntries().empty());
        store->keep (&firstDocument, presetWith (3, "Untitled 1"));
        EXPECT_FALSE (store->flush());
    }
    EXPECT_TRUE (juce::String (::testing::internal::GetCapturedStderr()).contains ("not a folder"));
    EXPECT_EQ (elsewhere.findChildFiles (juce::File::findFilesAndDirectories, false).size(), before);
}

TEST_F (RecoveryStoreTest, AnEntryThatCannotBeReadIsSkippedOnceAndKeptWhileTheOthersAreOffered)
{
    {
        auto ended = makeStore();
        ended->keep (&firstDocument, presetWith (5, "Huge"));
        ended->keep (&secondDocument, presetWith (6, "Deep"));
        int third = 0;
        ended->keep (&third, presetWith (7, "Plain"));
    }
    const auto session = presetFilesOnDisk()[0].getParentDirectory();
    // 200 kB of nesting, and a deep one within the size bound.
    ASSERT_TRUE (session.getChildFile ("1.txt").replaceWithText (juce::String::repeatedString ("[", 200000)));
    ASSERT_TRUE (
        session.getChildFile ("2.txt").replaceWithText (juce::String::repeatedString ("{\"a\":", 2000)));

    ::testing::internal::CaptureStderr();
    const auto entries = makeStore()->claimLeftEntries();
    const auto said = juce::String (::testing::internal::GetCapturedStderr());

    ASSERT_EQ (entries.size(), 1u);
    EXPECT_EQ (entries[0].preset.name, "Plain");
    EXPECT_EQ (juce::StringArray::fromLines (said.trim()).size(), 2) << said;
    EXPECT_TRUE (said.contains ("1.txt: larger than") && said.contains ("nests deeper")) << said;
    EXPECT_TRUE (session.getChildFile ("1.marlo").existsAsFile())
        << "what cannot be read is left, not deleted";
}

TEST_F (RecoveryStoreTest, ACrowdOfSessionsNeitherUsesUpDescriptorsNorStays)
{
    // Forty empty sessions, and twenty that each hold an entry.
    ASSERT_TRUE (recoveryFolder.createDirectory());
    // Private as the store makes its folders, whatever the mask of new files.
    const auto privateFolder = [] (const juce::File& made)
    { return SystemUnderTest::setMode (made.getFullPathName(), 0700) || !SystemUnderTest::hasModes(); };
    ASSERT_TRUE (privateFolder (recoveryFolder));
    for (int i = 0; i < 60; ++i)
    {
        const auto session = recoveryFolder.getChildFile ("editor-test." + juce::String (100 + i) + ".a");
        ASSERT_TRUE (session.createDirectory());
        ASSERT_TRUE (privateFolder (session));
        if (i >= 40)
            writePresetFile (session.getChildFile ("1.marlo"), 12);
    }
    const auto openDescriptors = [] {
        return juce::File ("/proc/self/fd")
            .findChildFiles (juce::File::findFilesAndDirectories, false)
            .size();
    };
    const auto before = openDescriptors();

    auto store = makeStore();
    const auto entries = store->claimLeftEntries();

    // A few sessions at a time are claimed, each holding its folder and its lock; the empty ones go.
    EXPECT_GE (entries.size(), 5u);
    EXPECT_LE (openDescriptors() - before, 2 * static_cast<int> (entries.size()) + 2);
    EXPECT_EQ (recoveryFolder.findChildFiles (juce::File::findDirectories, false).size(), 20);
    for (const auto& entry : entries)
        store->remove (entry);
    store.reset();
    EXPECT_EQ (makeStore()->claimLeftEntries().size(), 20u - entries.size())
        << "the rest are offered next time";
}
