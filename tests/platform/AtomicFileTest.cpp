#include <gtest/gtest.h>

#include "support/SystemUnderTest.h"

// Modes, links, inodes, other users and fork, which only POSIX has, throughout.
#if MARLO_TESTS_HAVE_POSIX

#include "platform/AtomicFile.h"
#include "platform/FileLock.h"
#include "platform/RegularFile.h"
#include "platform/SymbolicLinks.h"
#include "support/ForkedChild.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <optional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
struct stat statusOf (const juce::String& path)
{
    struct stat status
    {
    };
    EXPECT_EQ (::lstat (path.toRawUTF8(), &status), 0) << path;
    return status;
}

class AtomicFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/marlo-atomic-XXXXXX";
        ASSERT_NE (::mkdtemp (pattern), nullptr);
        folder = pattern;
        // Another user must reach the files of the tests that act as one.
        ASSERT_EQ (::chmod (pattern, 0755), 0);
    }

    void TearDown() override
    {
        ::chmod (folder.toRawUTF8(), 0755);
        juce::File (folder).deleteRecursively();
    }

    juce::String path (const juce::String& name) const { return folder + "/" + name; }

    juce::String make (const juce::String& name, const juce::String& content, mode_t mode = 0644) const
    {
        EXPECT_TRUE (juce::File (path (name)).replaceWithText (content));
        EXPECT_EQ (::chmod (path (name).toRawUTF8(), mode), 0);
        return path (name);
    }

    static juce::String contentOf (const juce::String& file) { return juce::File (file).loadFileAsString(); }

    static juce::Result save (const juce::String& file, const juce::String& content)
    {
        return AtomicFile::replaceContent (juce::File (file), content.toRawUTF8(),
                                           content.getNumBytesAsUTF8());
    }

    /** The names in the folder: a failed or finished save leaves no new file behind. */
    juce::StringArray names() const
    {
        juce::StringArray found;
        for (const auto& entry : juce::RangedDirectoryIterator (juce::File (folder), false, "*",
                                                                juce::File::findFilesAndDirectories))
            found.add (entry.getFile().getFileName());
        found.sort (false);
        return found;
    }

    static bool isRoot() { return ::geteuid() == 0; }

    juce::String folder;
};
} // namespace

TEST_F (AtomicFileTest, AChainOfLinksStaysAndTheFileItNamesTakesTheContent)
{
    make ("real.marlo", "old");
    ASSERT_EQ (::symlink ("real.marlo", path ("middle.marlo").toRawUTF8()), 0);
    ASSERT_EQ (::symlink (path ("middle.marlo").toRawUTF8(), path ("first.marlo").toRawUTF8()), 0);
    const auto inode = statusOf (path ("real.marlo")).st_ino;

    ASSERT_TRUE (save (path ("first.marlo"), "new").wasOk());
    EXPECT_EQ (contentOf (path ("real.marlo")), "new");
    EXPECT_TRUE (S_ISLNK (statusOf (path ("first.marlo")).st_mode));
    EXPECT_TRUE (S_ISLNK (statusOf (path ("middle.marlo")).st_mode));
    EXPECT_EQ (juce::File (path ("middle.marlo")).getLinkedTarget().getFileName(), "real.marlo");
    // Replaced by a rename: the target is a new file, not one rewritten in place.
    EXPECT_NE (statusOf (path ("real.marlo")).st_ino, inode);
    EXPECT_EQ (names(), juce::StringArray ({"first.marlo", "middle.marlo", "real.marlo"}));
}

TEST_F (AtomicFileTest, ALinkToAMissingFileCreatesItAndALoopIsRefused)
{
    ASSERT_EQ (::symlink ("later.marlo", path ("dangling.marlo").toRawUTF8()), 0);
    ASSERT_TRUE (save (path ("dangling.marlo"), "new").wasOk());
    EXPECT_TRUE (S_ISLNK (statusOf (path ("dangling.marlo")).st_mode));
    EXPECT_EQ (contentOf (path ("later.marlo")), "new");

    ASSERT_EQ (::symlink ("two.marlo", path ("one.marlo").toRawUTF8()), 0);
    ASSERT_EQ (::symlink ("one.marlo", path ("two.marlo").toRawUTF8()), 0);
    const auto looped = save (path ("one.marlo"), "new");
    EXPECT_EQ (looped.getErrorMessage(), juce::String (std::strerror (ELOOP)));
    EXPECT_TRUE (S_ISLNK (statusOf (path ("one.marlo")).st_mode));
    EXPECT_TRUE (S_ISLNK (statusOf (path ("two.marlo")).st_mode));
}

TEST_F (AtomicFileTest, AFileNobodyMayWriteIsRefusedEvenForTheSuperuser)
{
    for (const auto mode : {mode_t{0444}, mode_t{0400}, mode_t{0000}})
    {
        const auto file = make ("locked.marlo", "old", mode);
        const auto inode = statusOf (file).st_ino;
        const auto saved = save (file, "new");
        EXPECT_TRUE (saved.failed()) << std::oct << mode;
        EXPECT_EQ (saved.getErrorMessage(),
                   juce::String (std::strerror (EACCES)) + ": the file is read-only");
        EXPECT_EQ (statusOf (file).st_ino, inode);
        EXPECT_EQ (statusOf (file).st_mode & 07777, mode);
        ::chmod (file.toRawUTF8(), 0644);
        EXPECT_EQ (contentOf (file), "old");
        EXPECT_EQ (names(), juce::StringArray ({"locked.marlo"}));
    }
}

TEST_F (AtomicFileTest, AFileTheUserMayNotWriteIsRefusedWithTheSystemsReason)
{
    if (!isRoot())
        GTEST_SKIP() << "needs the superuser to act as another user";
    // The superuser's file, which others may read but not write.
    const auto file = make ("theirs.marlo", "old", 0644);
    const auto reason = runInChild (
        [&]
        {
            if (!becomeNobody())
                return std::string ("cannot become nobody");
            return save (file, "new").getErrorMessage().toStdString();
        });
    EXPECT_EQ (reason, std::strerror (EACCES));
    EXPECT_EQ (contentOf (file), "old");
    EXPECT_EQ (names(), juce::StringArray ({"theirs.marlo"}));
}

TEST_F (AtomicFileTest, AReplacedFileKeepsItsGroupAndMode)
{
    const auto file = make ("mine.marlo", "old", 0640);
    const auto group = isRoot() ? static_cast<gid_t> (nobody) : ::getegid();
    ASSERT_EQ (::chown (file.toRawUTF8(), static_cast<uid_t> (-1), group), 0);
    const auto before = statusOf (file);

    ASSERT_TRUE (save (file, "new").wasOk());
    const auto after = statusOf (file);
    EXPECT_NE (after.st_ino, before.st_ino);
    EXPECT_EQ (after.st_uid, before.st_uid);
    EXPECT_EQ (after.st_gid, group);
    EXPECT_EQ (after.st_mode & 07777, 0640u);
    EXPECT_EQ (contentOf (file), "new");
}

TEST_F (AtomicFileTest, AnotherUsersFileIsRewrittenInPlaceAndStaysTheirs)
{
    if (!isRoot())
        GTEST_SKIP() << "only the superuser can write another user's file";
    const auto file = make ("users.marlo", "the old, longer content", 0604);
    ASSERT_EQ (::chown (file.toRawUTF8(), nobody, nobody), 0);
    const auto before = statusOf (file);

    ASSERT_TRUE (save (file, "new").wasOk());
    const auto after = statusOf (file);
    EXPECT_EQ (after.st_ino, before.st_ino);
    EXPECT_EQ (after.st_uid, nobody);
    EXPECT_EQ (after.st_gid, nobody);
    EXPECT_EQ (after.st_mode & 07777, 0604u);
    EXPECT_EQ (contentOf (file), "new");
    EXPECT_EQ (names(), juce::StringArray ({"users.marlo"}));
}

TEST_F (AtomicFileTest, BothNamesOfAHardLinkSeeTheNewContent)
{
    const auto file = make ("one.marlo", "old");
    ASSERT_EQ (::link (file.toRawUTF8(), path ("other.marlo").toRawUTF8()), 0);

    ASSERT_TRUE (save (path ("other.marlo"), "new").wasOk());
    EXPECT_EQ (contentOf (file), "new");
    EXPECT_EQ (contentOf (path ("other.marlo")), "new");
    EXPECT_EQ (statusOf (file).st_nlink, 2u);
    EXPECT_EQ (names(), juce::StringArray ({"one.marlo", "other.marlo"}));
}

TEST_F (AtomicFileTest, AWritableFileInAFolderThatTakesNoNewFileIsRewrittenInPlace)
{
    if (!isRoot())
        GTEST_SKIP() << "needs the superuser to act as another user";
    // The folder is the superuser's (0755): nobody may write the file in it, but add nothing.
    const auto file = make ("shared.marlo", "old", 0644);
    ASSERT_EQ (::chown (file.toRawUTF8(), nobody, nobody), 0);
    const auto inode = statusOf (file).st_ino;
    const auto reason = runInChild (
        [&]
        {
            if (!becomeNobody())
                return std::string ("cannot become nobody");
            const auto saved = save (file, "new");
            return saved.wasOk() ? std::string ("saved") : saved.getErrorMessage().toStdString();
        });
    EXPECT_EQ (reason, "saved");
    EXPECT_EQ (contentOf (file), "new");
    EXPECT_EQ (statusOf (file).st_ino, inode);
    EXPECT_EQ (statusOf (file).st_uid, nobody);
    // Without a new file, a new file in such a folder cannot be made.
    const auto created = runInChild (
        [&]
        {
            if (!becomeNobody())
                return std::string ("cannot become nobody");
            return save (path ("new.marlo"), "new").getErrorMessage().toStdString();
        });
    EXPECT_EQ (created, std::strerror (EACCES));
    EXPECT_EQ (names(), juce::StringArray ({"shared.marlo"}));
}

TEST_F (AtomicFileTest, AFailedWriteReportsTheReasonOfTheWriteAndLeavesTheFile)
{
    const auto file = make ("kept.marlo", "old");
    // A process may write no more than 50 bytes to any file: the second write of the content fails.
    const auto reason = runInChild (
        [&]
        {
            std::signal (SIGXFSZ, SIG_IGN);
            const rlimit limit{50, 50};
            if (::setrlimit (RLIMIT_FSIZE, &limit) != 0)
                return std::string ("cannot limit the file size");
            return save (file, juce::String::repeatedString ("x", 103)).getErrorMessage().toStdString();
        });
    EXPECT_EQ (reason, std::strerror (EFBIG));
    EXPECT_EQ (contentOf (file), "old");
    EXPECT_EQ (names(), juce::StringArray ({"kept.marlo"}));
}

TEST_F (AtomicFileTest, FoldersAndOtherFilesAreNotReplaced)
{
    ASSERT_TRUE (juce::File (path ("sub")).createDirectory().wasOk());
    EXPECT_EQ (save (path ("sub"), "new").getErrorMessage(), juce::String (std::strerror (EISDIR)));
    ASSERT_EQ (::mkfifo (path ("pipe").toRawUTF8(), 0644), 0);
    EXPECT_TRUE (save (path ("pipe"), "new").failed());
    EXPECT_TRUE (S_ISFIFO (statusOf (path ("pipe")).st_mode));
    EXPECT_EQ (save (path ("none/file.marlo"), "new").getErrorMessage(),
               juce::String (std::strerror (ENOENT)));
}

TEST_F (AtomicFileTest, ALockAnotherProcessHoldsIsWaitedForOnlyForAWhileAndAStrangerCannotHoldOne)
{
    const auto file = make ("held.marlo", "old");
    // holdInChild (asStranger): a child takes the lock (or, as another user, a lock on the folder
    // itself) and keeps it until told; `child` is its process.
    int ready[2], release[2];
    pid_t child = 0;
    const auto holdInChild = [&] (bool asStranger)
    {
        ASSERT_EQ (::pipe (ready), 0);
        ASSERT_EQ (::pipe (release), 0);
        child = ::fork();
        if (child == 0)
        {
            std::optional<FileLock> lock;
            auto held = false;
            if (asStranger)
                held = becomeNobody() &&
                       ::flock (::open (folder.toRawUTF8(), O_RDONLY | O_DIRECTORY), LOCK_EX) == 0;
            else
                held = lock.emplace (juce::File (file)).getStatus().wasOk();
            const char byte = held ? 'y' : 'n';
            [[maybe_unused]] const auto written = ::write (ready[1], &byte, 1);
            char ignored = 0;
            [[maybe_unused]] const auto read = ::read (release[0], &ignored, 1);
            ::_exit (0);
        }
        char byte = 0;
        ASSERT_EQ (::read (ready[0], &byte, 1), 1);
        ASSERT_EQ (byte, 'y');
    };
    const auto letGo = [&]
    {
        [[maybe_unused]] const auto written = ::write (release[1], "x", 1);
        ::waitpid (child, nullptr, 0);
        for (const auto end : {ready[0], ready[1], release[0], release[1]})
            ::close (end);
    };

    holdInChild (false);
    const FileLock waited (juce::File (file), 0);
    EXPECT_TRUE (waited.getStatus().getErrorMessage().contains ("another program"))
        << waited.getStatus().getErrorMessage();
    letGo();
    EXPECT_TRUE (FileLock (juce::File (file), 0).getStatus().wasOk());
    EXPECT_EQ (contentOf (file), "old");

    if (!isRoot())
        GTEST_SKIP() << "needs the superuser to act as another user";
    // Anybody who may read a folder may lock it; that holds up nothing of the user's.
    holdInChild (true);
    EXPECT_TRUE (save (file, "saved past the stranger").wasOk());
    letGo();
    EXPECT_EQ (contentOf (file), "saved past the stranger");
}

TEST_F (AtomicFileTest, AStrangersLinkInASharedFolderIsRefusedOnTheWayAndAtTheEnd)
{
    if (!isRoot())
        GTEST_SKIP() << "needs the superuser to give a link to another user";
    // A folder like /tmp: everybody may write, the sticky bit set. The user's own file beside it.
    const auto shared = path ("shared");
    ASSERT_EQ (::mkdir (shared.toRawUTF8(), 01777), 0);
    ASSERT_EQ (::chmod (shared.toRawUTF8(), 01777), 0);
    const auto own = make ("own.syx", "the user's");
    ASSERT_EQ (::mkdir (path ("ownFolder").toRawUTF8(), 0755), 0);
    const auto plant = [&] (const char* name, const juce::String& target, uid_t owner)
    {
        const auto link = shared + "/" + name;
        EXPECT_EQ (::symlink (target.toRawUTF8(), link.toRawUTF8()), 0);
        EXPECT_EQ (::lchown (link.toRawUTF8(), owner, owner), 0);
        return link;
    };

    const auto planted = plant ("evil.syx", own, nobody);
    const auto plantedFolder = plant ("evil", path ("ownFolder"), nobody);
    EXPECT_EQ (save (planted, "overwritten").getErrorMessage(),
               "Permission denied: a link in a shared folder");
    EXPECT_EQ (save (plantedFolder + "/new.syx", "made").getErrorMessage(),
               "Permission denied: a link in a shared folder");
    EXPECT_EQ (contentOf (own), "the user's");
    EXPECT_FALSE (juce::File (path ("ownFolder/new.syx")).exists());
    juce::MemoryBlock read;
    EXPECT_EQ (RegularFile::read (juce::File (planted), 1024, "a preset file", read).getErrorMessage(),
               "Permission denied: a link in a shared folder");
    // The tool's names are not resolved through it either.
    EXPECT_EQ (SymbolicLinks::fileNamed (juce::File (shared), "evil/new.syx").getFullPathName(),
               plantedFolder + "/new.syx");

    // The user's own link is followed, and so is the folder owner's.
    EXPECT_TRUE (save (plant ("mine.syx", own, ::geteuid()), "through mine").wasOk());
    EXPECT_EQ (contentOf (own), "through mine");
    ASSERT_EQ (::chown (shared.toRawUTF8(), nobody, nobody), 0);
    EXPECT_TRUE (save (planted, "through the owner's").wasOk());
    EXPECT_EQ (contentOf (own), "through the owner's");
    EXPECT_TRUE (S_ISLNK (statusOf (planted).st_mode)) << "the link stays a link";
}

#else

MARLO_SKIPPED_TEST (AtomicFileTest, AChainOfLinksStaysAndTheFileItNamesTakesTheContent,
                    "links anybody may make, and inodes")
MARLO_SKIPPED_TEST (AtomicFileTest, ALinkToAMissingFileCreatesItAndALoopIsRefused, "links anybody may make")
MARLO_SKIPPED_TEST (AtomicFileTest, AFileNobodyMayWriteIsRefusedEvenForTheSuperuser, "modes")
MARLO_SKIPPED_TEST (AtomicFileTest, AFileTheUserMayNotWriteIsRefusedWithTheSystemsReason,
                    "another user through fork")
MARLO_SKIPPED_TEST (AtomicFileTest, AReplacedFileKeepsItsGroupAndMode, "groups and modes")
MARLO_SKIPPED_TEST (AtomicFileTest, AnotherUsersFileIsRewrittenInPlaceAndStaysTheirs, "another user's file")
MARLO_SKIPPED_TEST (AtomicFileTest, BothNamesOfAHardLinkSeeTheNewContent, "inodes")
MARLO_SKIPPED_TEST (AtomicFileTest, AWritableFileInAFolderThatTakesNoNewFileIsRewrittenInPlace,
                    "another user through fork")
MARLO_SKIPPED_TEST (AtomicFileTest, AFailedWriteReportsTheReasonOfTheWriteAndLeavesTheFile,
                    "a file size limit through fork")
MARLO_SKIPPED_TEST (AtomicFileTest, FoldersAndOtherFilesAreNotReplaced, "a named pipe in the file system")
MARLO_SKIPPED_TEST (AtomicFileTest, ALockAnotherProcessHoldsIsWaitedForOnlyForAWhileAndAStrangerCannotHoldOne,
                    "fork and flock")
MARLO_SKIPPED_TEST (AtomicFileTest, AStrangersLinkInASharedFolderIsRefusedOnTheWayAndAtTheEnd,
                    "sticky shared folders")

#endif
