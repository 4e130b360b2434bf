#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <vector>

#if !JUCE_WINDOWS
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

/** What the tests make beside ordinary files, where the system has it: each maker returns false
    where it has no such thing (Windows has no named pipe in a folder, and no device such as
    /dev/zero under a path of its own), and the test says so as it skips that part. */
class SpecialFiles
{
public:
    /** A pipe with a name in a folder, which blocks whoever opens it to read. */
    static bool makePipe (const juce::String& path)
    {
#if JUCE_WINDOWS
        juce::ignoreUnused (path);
        return false;
#else
        return ::mkfifo (path.toRawUTF8(), 0644) == 0;
#endif
    }

    /** A device that reads as an endless stream of zeros; empty where there is none by path. */
    static juce::String endlessDevice()
    {
#if JUCE_WINDOWS
        return {};
#else
        return "/dev/zero";
#endif
    }

    /** Whether the tests run as the superuser, who may give a file to another user. */
    static bool asSuperuser()
    {
#if JUCE_WINDOWS
        return false;
#else
        return ::geteuid() == 0;
#endif
    }

    /** A folder that everybody may write, sticky as /tmp is, and in it a symbolic link to `target`
        that belongs to the unprivileged user `nobody`; needs the superuser. */
    static bool plantStrangersLink (const juce::String& sharedFolder, const juce::String& link,
                                    const juce::String& target)
    {
#if JUCE_WINDOWS
        juce::ignoreUnused (sharedFolder, link, target);
        return false;
#else
        constexpr uid_t nobody = 65534;
        return ::mkdir (sharedFolder.toRawUTF8(), 01777) == 0 &&
               ::chmod (sharedFolder.toRawUTF8(), 01777) == 0 &&
               ::symlink (target.toRawUTF8(), link.toRawUTF8()) == 0 &&
               ::lchown (link.toRawUTF8(), nobody, nobody) == 0;
#endif
    }

    /** Runs `body` in `count` processes at once, each a fork of this one that ends with the code
        `body` returns for its index, and gives back whether each ended with 0; empty where the
        system cannot fork. */
    static std::vector<bool> runInForkedChildren (int count, const std::function<int (int)>& body)
    {
        std::vector<bool> ended;
#if JUCE_WINDOWS
        juce::ignoreUnused (count, body);
#else
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
#endif
        return ended;
    }

    /** Whether files carry permission bits for their owner, group and others; Windows keeps an
        access list instead. */
    static bool hasModes()
    {
#if JUCE_WINDOWS
        return false;
#else
        return true;
#endif
    }

    /** A file's or folder's permission bits (0777 at most); -1 where it has none. */
    static int modeOf (const juce::String& path)
    {
#if JUCE_WINDOWS
        juce::ignoreUnused (path);
        return -1;
#else
        struct stat info = {};
        return ::stat (path.toRawUTF8(), &info) == 0 ? (int)(info.st_mode & 07777) : -1;
#endif
    }

    /** Sets a file's or folder's permission bits; false where it has none. */
    static bool setMode (const juce::String& path, int mode)
    {
#if JUCE_WINDOWS
        juce::ignoreUnused (path, mode);
        return false;
#else
        return ::chmod (path.toRawUTF8(), (mode_t)mode) == 0;
#endif
    }

    /** Takes every write permission off a file. */
    static bool makeReadOnly (const juce::String& path)
    {
        return juce::File (path).setReadOnly (true);
    }

    /** A file of `size` bytes that takes (nearly) no space where the file system allows it. */
    static bool makeSized (const juce::File& file, juce::int64 size)
    {
        juce::FileOutputStream stream (file);
        return stream.openedOk() && stream.setPosition (size) && stream.truncate().wasOk();
    }
};
