#include <gtest/gtest.h>

#include "platform/NewFile.h"
#include "platform/Trash.h"
#include "support/SystemUnderTest.h"
#include "support/TemporaryFolder.h"

namespace
{
TEST (NewFileTest, WritesOnlyNamesNobodyHolds)
{
    TemporaryFolder folder;
    bool taken = true;
    ASSERT_TRUE (NewFile::create (folder / "a.marlo", "new", 3, taken).wasOk());
    EXPECT_FALSE (taken);
    EXPECT_EQ ((folder / "a.marlo").loadFileAsString(), "new");

    EXPECT_TRUE (NewFile::create (folder / "a.marlo", "other", 5, taken).failed());
    EXPECT_TRUE (taken);
    EXPECT_EQ ((folder / "a.marlo").loadFileAsString(), "new");

    // A link is a name that is taken, even one to nothing; its target is not made.
    if ((folder / "nowhere").createSymbolicLink (folder / "link.marlo", false))
    {
        EXPECT_TRUE (NewFile::create (folder / "link.marlo", "x", 1, taken).failed());
        EXPECT_TRUE (taken);
        EXPECT_FALSE ((folder / "nowhere").exists());
    }
    EXPECT_TRUE (NewFile::create (folder / "missing/b.marlo", "x", 1, taken).failed());
    EXPECT_FALSE (taken);
    // Nothing is left beside the files when a write is refused.
    EXPECT_EQ (folder.get().getNumberOfChildFiles (juce::File::findFiles, ".marlo-*"), 0);
}

#if MARLO_TESTS_HAVE_POSIX
TEST (TrashTest, MovesIntoTheFreedesktopTrashWithItsDescriptionFirst)
{
    TemporaryFolder folder;
    const auto dataHome = folder / "data";
    const auto previous = juce::SystemStats::getEnvironmentVariable ("XDG_DATA_HOME", {});
    ::setenv ("XDG_DATA_HOME", dataHome.getFullPathName().toRawUTF8(), 1);

    const auto first = folder / "My Song%.marlo";
    const auto second = folder / "Other/My Song%.marlo";
    first.replaceWithText ("one");
    second.getParentDirectory().createDirectory();
    second.replaceWithText ("two");
    const auto before = juce::Time::getCurrentTime();
    const auto movedFirst = Trash::moveToTrash (first);
    const auto movedSecond = Trash::moveToTrash (second);
    const auto missing = Trash::moveToTrash (folder / "gone.marlo");
    const auto after = juce::Time::getCurrentTime();
    if (previous.isEmpty())
        ::unsetenv ("XDG_DATA_HOME");
    else
        ::setenv ("XDG_DATA_HOME", previous.toRawUTF8(), 1);

    ASSERT_TRUE (movedFirst.wasOk()) << movedFirst.getErrorMessage();
    ASSERT_TRUE (movedSecond.wasOk()) << movedSecond.getErrorMessage();
    EXPECT_TRUE (missing.failed());
    EXPECT_FALSE (first.exists());
    const auto trash = dataHome.getChildFile ("Trash");
    EXPECT_EQ (trash.getChildFile ("files/My Song%.marlo").loadFileAsString(), "one");
    EXPECT_EQ (trash.getChildFile ("files/My Song% 2.marlo").loadFileAsString(), "two");
    const auto info = trash.getChildFile ("info/My Song% 2.marlo.trashinfo").loadFileAsString();
    EXPECT_TRUE (info.startsWith ("[Trash Info]\nPath=" + folder.get().getFullPathName() +
                                  "/Other/My%20Song%25.marlo\n"))
        << info;
    // Local time to the second, without a zone, as ISO 8601 text compares in order.
    const auto date = info.fromFirstOccurrenceOf ("DeletionDate=", false, false).trim();
    EXPECT_TRUE (date >= before.formatted ("%Y-%m-%dT%H:%M:%S") &&
                 date <= after.formatted ("%Y-%m-%dT%H:%M:%S"))
        << info;
}
#else
// The Recycle Bin is the shell's own, reached through the framework.
MARLO_SKIPPED_TEST (TrashTest, MovesIntoTheFreedesktopTrashWithItsDescriptionFirst,
                    "the freedesktop.org trash")
#endif
} // namespace
