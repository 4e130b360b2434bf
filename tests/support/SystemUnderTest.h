#pragma once

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#if JUCE_WINDOWS
#define MARLO_TESTS_HAVE_POSIX 0
#else
#define MARLO_TESTS_HAVE_POSIX 1
#include <sys/stat.h>
#endif

/** What a test needs of the system it runs on that not every system has, so that a test that
    cannot run here skips and says why, rather than failing or vanishing from the run.

    A test that needs POSIX's files or processes (modes, sockets that are files, links anybody may
    make, fork, signals) starts with MARLO_SKIP_UNLESS_POSIX, and reaches the system only through
    the functions here, which compile everywhere. A file whose every test calls POSIX directly is
    compiled only where MARLO_TESTS_HAVE_POSIX is set, and names its tests with
    MARLO_SKIPPED_TEST elsewhere, so that each one is listed as skipped.
*/
namespace SystemUnderTest
{
constexpr bool isPosix = MARLO_TESTS_HAVE_POSIX != 0;

/** The permission bits of the entry itself, a link not followed; 0 where it cannot be read or
    there are none. */
inline unsigned modeOf (const juce::File& file)
{
#if MARLO_TESTS_HAVE_POSIX
    struct stat status
    {
    };
    EXPECT_EQ (::lstat (file.getFullPathName().toRawUTF8(), &status), 0) << file.getFullPathName();
    return status.st_mode & 07777;
#else
    juce::ignoreUnused (file);
    return 0;
#endif
}

/** Gives the entry these permission bits; false where it cannot. */
inline bool setMode (const juce::File& file, unsigned mode)
{
#if MARLO_TESTS_HAVE_POSIX
    return ::chmod (file.getFullPathName().toRawUTF8(), (mode_t)mode) == 0;
#else
    juce::ignoreUnused (file, mode);
    return false;
#endif
}

/** Whether the entry itself is a socket. */
inline bool isSocket (const juce::File& file)
{
#if MARLO_TESTS_HAVE_POSIX
    struct stat status
    {
    };
    return ::lstat (file.getFullPathName().toRawUTF8(), &status) == 0 && S_ISSOCK (status.st_mode);
#else
    juce::ignoreUnused (file);
    return false;
#endif
}
} // namespace SystemUnderTest

/** Ends the test here where the system is not POSIX, printing why it cannot run. */
#define MARLO_SKIP_UNLESS_POSIX(reason)                                                                      \
    if (!SystemUnderTest::isPosix)                                                                           \
    GTEST_SKIP() << "needs POSIX: " << (reason)

/** A test of a file that only POSIX compiles, listed as skipped elsewhere with its reason. */
#define MARLO_SKIPPED_TEST(suite, name, reason)                                                              \
    TEST (suite, name)                                                                                       \
    {                                                                                                        \
        GTEST_SKIP() << "needs POSIX: " << (reason);                                                         \
    }
