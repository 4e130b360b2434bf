#pragma once

#include <juce_core/juce_core.h>

#if !JUCE_WINDOWS
#include <sys/stat.h>
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

    /** Takes every write permission off a file. */
    static bool makeReadOnly (const juce::String& path) { return juce::File (path).setReadOnly (true); }

    /** A file of `size` bytes that takes (nearly) no space where the file system allows it. */
    static bool makeSized (const juce::File& file, juce::int64 size)
    {
        juce::FileOutputStream stream (file);
        return stream.openedOk() && stream.setPosition (size) && stream.truncate().wasOk();
    }
};
