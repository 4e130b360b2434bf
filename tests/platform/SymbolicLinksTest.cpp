#include <gtest/gtest.h>

#include "platform/SymbolicLinks.h"
#include "support/SystemUnderTest.h"

TEST (SymbolicLinksTest, ANameWithDotsThroughALinkMeansWhatTheSystemMeans)
{
    MARLO_SKIP_UNLESS_POSIX ("Windows itself takes \"..\" away as text, through a link or not");
    const auto folder = juce::File::createTempFile ("links");
    ASSERT_TRUE (folder.getChildFile ("real/sub").createDirectory().wasOk());
    ASSERT_TRUE (juce::File::createSymbolicLink (folder.getChildFile ("link"), "real/sub", false));
    ASSERT_TRUE (folder.getChildFile ("a.marlo").replaceWithText ("here"));
    ASSERT_TRUE (folder.getChildFile ("real/a.marlo").replaceWithText ("there"));

    // "link/.." is real, not the folder that holds the link.
    EXPECT_EQ (SymbolicLinks::fileNamed (folder, "link/../a.marlo").loadFileAsString(), "there");
    EXPECT_EQ (SymbolicLinks::fileNamed (folder, "a.marlo"), folder.getChildFile ("a.marlo"));
    EXPECT_EQ (
        SymbolicLinks::fileNamed (folder, folder.getFullPathName() + "/real/./a.marlo").loadFileAsString(),
        "there");
    // A folder that does not exist leaves the name as it is written.
    EXPECT_EQ (SymbolicLinks::fileNamed (folder, "none/x.marlo"), folder.getChildFile ("none/x.marlo"));
    // Quotes and spaces are part of the name.
    EXPECT_EQ (SymbolicLinks::fileNamed (folder, "'a b.marlo").getFileName(), "'a b.marlo");

    folder.deleteRecursively();
}

TEST (SymbolicLinksTest, ANameFromTheRootStartsAtTheWorkingFoldersDriveOrShare)
{
#if JUCE_WINDOWS
    EXPECT_EQ (
        SymbolicLinks::fileNamed (juce::File ("\\\\server\\share\\folder"), "\\a.marlo").getFullPathName(),
        "\\\\server\\share\\a.marlo");
    EXPECT_EQ (SymbolicLinks::fileNamed (juce::File ("C:\\folder"), "\\a.marlo").getFullPathName(),
               "C:\\a.marlo");
#else
    GTEST_SKIP() << "a drive or a network share is Windows' own";
#endif
}
