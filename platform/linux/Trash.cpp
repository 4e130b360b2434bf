#include "platform/Trash.h"

#include "platform/FileDescriptor.h"
#include "platform/SymbolicLinks.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
juce::Result failure (int error)
{
    return FileDescriptor::failure (error);
}

juce::File trashFolder()
{
    const auto named = juce::SystemStats::getEnvironmentVariable ("XDG_DATA_HOME", {});
    const auto data =
        juce::File::isAbsolutePath (named)
            ? juce::File (named)
            : juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".local/share");
    return data.getChildFile ("Trash");
}

/** Makes a folder and every missing one above it, for the user alone. */
bool makeFolder (const juce::File& folder)
{
    if (folder.isDirectory())
        return true;
    if (!makeFolder (folder.getParentDirectory()))
        return false;
    return ::mkdir (folder.getFullPathName().toRawUTF8(), 0700) == 0 || errno == EEXIST;
}

/** "name", "name 2.ext", "name 3.ext" ... */
juce::String candidateName (const juce::String& name, int number)
{
    if (number == 1)
        return name;
    const auto dot = name.lastIndexOfChar ('.');
    const auto stem = dot > 0 ? name.substring (0, dot) : name;
    const auto extension = dot > 0 ? name.substring (dot) : juce::String();
    return stem + " " + juce::String (number) + extension;
}
} // namespace

juce::Result Trash::moveToTrash (const juce::File& file)
{
    const auto where = SymbolicLinks::locate (file.getParentDirectory().getFullPathName() + "/.");
    if (!where.found())
        return where.result();
    // The path without links in its folders, as the trash's description must give it.
    const auto path = where.path() + (where.path().endsWithChar ('/') ? "" : "/") + file.getFileName();
    struct stat status
    {
    };
    if (::lstat (path.toRawUTF8(), &status) != 0)
        return failure (errno);

    const auto trash = trashFolder();
    const auto files = trash.getChildFile ("files");
    const auto info = trash.getChildFile ("info");
    if (!makeFolder (files) || !makeFolder (info))
        return failure (errno);

    const auto description = describe (path, juce::Time::getCurrentTime());
    for (int number = 1; number < 10000; ++number)
    {
        const auto name = candidateName (file.getFileName(), number);
        const auto infoPath = info.getChildFile (name + ".trashinfo").getFullPathName();
        // Taking the description's name first is what reserves the name in files/ as well.
        FileDescriptor entry (
            ::open (infoPath.toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!entry.isOpen())
        {
            if (errno == EEXIST)
                continue;
            return failure (errno);
        }
        const auto text = description.toStdString();
        auto written = entry.writeAll (text.data(), text.size());
        if (written.wasOk() && ::fsync (entry.get()) != 0)
            written = failure (errno);
        if (written.wasOk())
            written = entry.close();
        const auto filesPath = files.getChildFile (name).getFullPathName();
        if (written.wasOk() && ::access (filesPath.toRawUTF8(), F_OK) == 0)
        {
            // A stray file without a description holds the name: try the next.
            ::unlink (infoPath.toRawUTF8());
            continue;
        }
        if (written.wasOk() && ::rename (path.toRawUTF8(), filesPath.toRawUTF8()) == 0)
            return juce::Result::ok();
        const auto error = errno;
        ::unlink (infoPath.toRawUTF8());
        if (written.failed())
            return written;
        if (error == EXDEV)
            return juce::Result::fail ("the trash is on another drive than the file");
        return failure (error);
    }
    return failure (EEXIST);
}
