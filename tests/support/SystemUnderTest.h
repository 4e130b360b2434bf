#pragma once

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#if JUCE_WINDOWS
#define MARLO_TESTS_HAVE_POSIX 0
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#define MARLO_TESTS_HAVE_POSIX 1
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

/** What a test needs of the system it runs on that not every system has, and what each system
    answers where they differ, so that a test that cannot run here skips and says why, and one
    that can expects what this system does.

    A test that needs POSIX's files or processes (modes, sockets that are files, links anybody may
    make, fork, signals) starts with MARLO_SKIP_UNLESS_POSIX, and reaches the system only through
    the functions here, which compile everywhere. A file whose every test calls POSIX directly is
    compiled only where MARLO_TESTS_HAVE_POSIX is set, and names its tests with
    MARLO_SKIPPED_TEST elsewhere, so that each one is listed as skipped. Each maker of something
    special returns false (or nothing) where the system has no such thing, and the test says so as
    it skips that part.
*/
namespace SystemUnderTest
{
constexpr bool isPosix = MARLO_TESTS_HAVE_POSIX != 0;

/** Whether this test program runs as a Windows program under Wine rather than on Windows itself.
    Wine keeps its own settings under this key of every prefix; Windows has no such key. */
inline bool runsUnderWine()
{
#if JUCE_WINDOWS
    static const bool underWine = juce::WindowsRegistry::keyExists ("HKEY_LOCAL_MACHINE\\Software\\Wine");
    return underWine;
#else
    return false;
#endif
}

//==============================================================================
/** Whether files carry permission bits for their owner, group and others; Windows keeps an
    access list instead. */
constexpr bool hasModes()
{
    return isPosix;
}

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

/** Takes every write permission off a file. */
inline bool makeReadOnly (const juce::String& path)
{
    return juce::File (path).setReadOnly (true);
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

/** A pipe with a name in a folder, which blocks whoever opens it to read; Windows has none. */
inline bool makePipe (const juce::String& path)
{
#if MARLO_TESTS_HAVE_POSIX
    return ::mkfifo (path.toRawUTF8(), 0644) == 0;
#else
    juce::ignoreUnused (path);
    return false;
#endif
}

/** A device that reads as an endless stream of zeros; empty where there is none by path. */
inline juce::String endlessDevice()
{
    return isPosix ? "/dev/zero" : "";
}

/** A file of `size` bytes that takes (nearly) no space where the file system allows it. */
inline bool makeSized (const juce::File& file, juce::int64 size)
{
    juce::FileOutputStream stream (file);
    return stream.openedOk() && stream.setPosition (size) && stream.truncate().wasOk();
}

/** Whether the tests run as the superuser, who may give a file to another user. */
inline bool asSuperuser()
{
#if MARLO_TESTS_HAVE_POSIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

/** A folder that everybody may write, sticky as /tmp is, and in it a symbolic link to `target`
    that belongs to the unprivileged user `nobody`; needs the superuser. */
inline bool plantStrangersLink (const juce::String& sharedFolder, const juce::String& link,
                                const juce::String& target)
{
#if MARLO_TESTS_HAVE_POSIX
    constexpr uid_t nobody = 65534;
    return ::mkdir (sharedFolder.toRawUTF8(), 01777) == 0 && ::chmod (sharedFolder.toRawUTF8(), 01777) == 0 &&
           ::symlink (target.toRawUTF8(), link.toRawUTF8()) == 0 &&
           ::lchown (link.toRawUTF8(), nobody, nobody) == 0;
#else
    juce::ignoreUnused (sharedFolder, link, target);
    return false;
#endif
}

/** Runs `body` in `count` processes at once, each a fork of this one that ends with the code
    `body` returns for its index, and gives back whether each ended with 0; empty where the
    system cannot fork. */
inline std::vector<bool> runInForkedChildren (int count, const std::function<int (int)>& body)
{
    std::vector<bool> ended;
#if MARLO_TESTS_HAVE_POSIX
    std::vector<pid_t> children;
    for (int i = 0; i < count; ++i)
    {
        const auto child = ::fork();
        if (child == 0)
            ::_exit (body (i));
        children.push_back (child);
    }
    for (const auto child : children)
    {
        int status = 0;
        ended.push_back (::waitpid (child, &status, 0) == child && WIFEXITED (status) &&
                         WEXITSTATUS (status) == 0);
    }
#else
    juce::ignoreUnused (count, body);
#endif
    return ended;
}

//==============================================================================
/** Whether Ctrl+C as the terminal sends it can reach this process alone: on Windows the console
    sends it to every process attached to it, the test's runner too. */
constexpr bool canSendCtrlC()
{
    return isPosix;
}

inline void sendCtrlC()
{
#if MARLO_TESTS_HAVE_POSIX
    std::raise (SIGINT);
#endif
}

//==============================================================================
/** Changes the process's environment for what the code under test reads from it. */
inline void setEnvironment (const char* name, const char* value)
{
#if JUCE_WINDOWS
    _putenv_s (name, value);
#else
    ::setenv (name, value, 1);
#endif
}

/** Takes the variable away (on Windows, an empty value is none). */
inline void unsetEnvironment (const char* name)
{
#if JUCE_WINDOWS
    _putenv_s (name, "");
#else
    ::unsetenv (name);
#endif
}

/** Whether the home folder follows $HOME, so that a test can move it; Windows keeps it in the
    user's profile, not in the environment. */
constexpr bool homeFollowsTheEnvironment()
{
    return isPosix;
}

/** The variable that names the folder of the user's settings, and the folder meant where it
    names none (or not a full path): $XDG_CONFIG_HOME and ~/.config on Linux, %APPDATA% and the
    profile's own on Windows. */
inline const char* settingsVariable()
{
    return isPosix ? "XDG_CONFIG_HOME" : "APPDATA";
}

inline juce::File defaultSettingsFolder()
{
    return isPosix ? juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".config")
                   : juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
}

/** A path written the Linux way, as a full path on this system (on Windows, on the working
    folder's drive). */
inline juce::File fullPath (const juce::String& linuxPath)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (linuxPath);
}

/** The name a file gets when it is made under `name`: Windows takes trailing spaces and dots
    off a name. */
inline juce::String nameAsKept (const juce::String& name)
{
    return isPosix ? name : name.trimCharactersAtEnd (" .");
}

/** The system's own text for a name that names nothing, as the programs pass it on (without a
    closing full stop). */
inline juce::String missingFileReason()
{
#if JUCE_WINDOWS
    wchar_t text[512] = {};
    const auto length = FormatMessageW (FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        ERROR_FILE_NOT_FOUND, 0, text, 512, nullptr);
    return juce::String (text, (size_t)length).trim().trimCharactersAtEnd (".");
#else
    return std::strerror (ENOENT);
#endif
}
} // namespace SystemUnderTest

/** Ends the test here where the system is not POSIX, printing why it cannot run. */
#define MARLO_SKIP_UNLESS_POSIX(reason)                                                                      \
    if (SystemUnderTest::isPosix)                                                                            \
    {                                                                                                        \
    }                                                                                                        \
    else                                                                                                     \
        GTEST_SKIP() << "needs POSIX: " << (reason)

/** Skips the rest of a test under Wine, printing why: for what Wine does not do as Windows does. */
#define MARLO_SKIP_UNDER_WINE(reason)                                                                        \
    if (!SystemUnderTest::runsUnderWine())                                                                   \
    {                                                                                                        \
    }                                                                                                        \
    else                                                                                                     \
        GTEST_SKIP() << "Wine: " << (reason)

/** A test of a file that only POSIX compiles, listed as skipped elsewhere with its reason. */
#define MARLO_SKIPPED_TEST(suite, name, reason)                                                              \
    TEST (suite, name)                                                                                       \
    {                                                                                                        \
        GTEST_SKIP() << "needs POSIX: " << (reason);                                                         \
    }
