#include <gtest/gtest.h>

#include "platform/AtomicFile.h"
#include "platform/FileLock.h"
#include "support/SystemUnderTest.h"
#include "support/TemporaryFolder.h"

#include <cerrno>
#include <cstring>
#include <future>

namespace
{
/** What every system's atomic file does alike; AtomicFileTest holds what needs POSIX. */
class AtomicFileAnywhereTest : public ::testing::Test
{
protected:
    juce::File make (const juce::String& name, const juce::String& content) const
    {
        const auto file = folder / name;
        EXPECT_TRUE (file.replaceWithText (content));
        return file;
    }

    static juce::Result save (const juce::File& file, const juce::String& content)
    {
        return AtomicFile::replaceContent (file, content.toRawUTF8(), content.getNumBytesAsUTF8());
    }

    /** The names in the folder: a failed or finished save leaves no new file behind. */
    juce::StringArray names() const
    {
        juce::StringArray found;
        for (const auto& entry :
             juce::RangedDirectoryIterator (folder.get(), false, "*", juce::File::findFilesAndDirectories))
            found.add (entry.getFile().getFileName());
        found.sort (false);
        return found;
    }

    TemporaryFolder folder;
};
} // namespace

TEST_F (AtomicFileAnywhereTest, ANewContentReplacesTheOldAndAReadOnlyFileOrAFolderIsRefused)
{
    const auto file = make ("stage.marlo", "old");
    ASSERT_TRUE (save (file, "new").wasOk());
    ASSERT_TRUE (save (folder / "fresh.marlo", "made").wasOk());
    EXPECT_EQ (file.loadFileAsString(), "new");
    EXPECT_EQ ((folder / "fresh.marlo").loadFileAsString(), "made");

    ASSERT_TRUE (file.setReadOnly (true));
    EXPECT_EQ (save (file, "newer").getErrorMessage(),
               juce::String (std::strerror (EACCES)) + ": the file is read-only");
    ASSERT_TRUE (file.setReadOnly (false));
    EXPECT_EQ (file.loadFileAsString(), "new");

    ASSERT_TRUE ((folder / "sub").createDirectory().wasOk());
    EXPECT_EQ (save (folder / "sub", "new").getErrorMessage(), juce::String (std::strerror (EISDIR)));
    EXPECT_TRUE (save ((folder / "none").getChildFile ("file.marlo"), "new").failed());
    EXPECT_EQ (names(), juce::StringArray ({"fresh.marlo", "stage.marlo", "sub"}));
}

TEST_F (AtomicFileAnywhereTest, TheLockGuardsTheFolderAndIsTakenAgainByTheSameThread)
{
    const auto file = make ("locked.marlo", "old");
    // Another thread waits as another process does (a forked child would share this one's lock).
    const auto otherProcessCanLock = [&]
    {
        return std::async (std::launch::async,
                           [&]
                           {
                               const FileLock lock (folder / "other.marlo", 0);
                               return lock.getStatus().wasOk()
                                          ? std::string ("locked")
                                          : lock.getStatus().getErrorMessage().toStdString();
                           })
            .get();
    };
    {
        const FileLock lock{file};
        ASSERT_TRUE (lock.getStatus().wasOk());
        // The writer takes the same lock: waiting for it here would never end.
        ASSERT_TRUE (save (file, "new").wasOk());
        EXPECT_EQ (otherProcessCanLock(), "another program is changing a file in this folder; try again");
    }
    EXPECT_EQ (otherProcessCanLock(), "locked");
    EXPECT_EQ (file.loadFileAsString(), "new");
}

TEST_F (AtomicFileAnywhereTest, AFileThatMayBeWrittenButNotRenamedKeepsItsContentAndNoOtherNameStays)
{
#if JUCE_WINDOWS
    const auto file = make ("held.marlo", "old");
    // Another program holds it open to be written, but not renamed or deleted.
    const auto held = CreateFileW (file.getFullPathName().toWideCharPointer(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE (held, INVALID_HANDLE_VALUE);
    const auto saved = save (file, "new");
    CloseHandle (held);
    EXPECT_TRUE (saved.failed());
    EXPECT_EQ (file.loadFileAsString(), "old");
    // Neither the new file nor a backup of the old one is left beside it.
    EXPECT_EQ (names(), juce::StringArray ({"held.marlo"}));
    ASSERT_TRUE (save (file, "new").wasOk());
    EXPECT_EQ (file.loadFileAsString(), "new");
    EXPECT_EQ (names(), juce::StringArray ({"held.marlo"}));
#else
    GTEST_SKIP() << "only Windows keeps a file that another program holds open from being renamed";
#endif
}
