#include "platform/RegularFile.h"

#include "platform/SymbolicLinks.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace
{
struct Kind
{
    mode_t type;
    const char* name;
};

/** What each kind of file that is not a regular file is called when it is refused. */
const Kind refusedKinds[]{{S_IFDIR, "a folder"},
                          {S_IFIFO, "a pipe"},
                          {S_IFCHR, "a device"},
                          {S_IFBLK, "a device"},
                          {S_IFSOCK, "a socket"}};

/** Why a file with this status is not read, if it is not. */
juce::Result refusal (const struct stat& status, juce::int64 largest, const juce::String& what)
{
    if (!S_ISREG (status.st_mode))
    {
        for (const auto& kind : refusedKinds)
            if ((status.st_mode & S_IFMT) == kind.type)
                return juce::Result::fail ("is " + juce::String (kind.name) + ", not " + what);
        return juce::Result::fail ("is not a regular file");
    }
    if (status.st_size > largest)
        return juce::Result::fail ("the file holds " +
                                   juce::String (static_cast<juce::int64> (status.st_size)) + " bytes; " +
                                   what + " holds at most " + juce::String (largest));
    return juce::Result::ok();
}

juce::Result missing()
{
    return juce::Result::fail ("no such file");
}
} // namespace

juce::Result RegularFile::read (const juce::File& file, juce::int64 largest, const juce::String& what,
                                juce::MemoryBlock& content)
{
    const auto where = SymbolicLinks::locate (file.getFullPathName());
    if (!where.found())
        return where.error == ENOENT ? missing() : where.result();
    struct stat status
    {
    };
    if (::fstatat (where.folder.get(), where.name.toRawUTF8(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? missing() : FileDescriptor::failure (errno);
    if (const auto refused = refusal (status, largest, what); refused.failed())
        return refused;

    // The name may be something else by now: opening without waiting keeps a pipe put there
    // from blocking, and the opened file is checked again.
    FileDescriptor opened (::openat (where.folder.get(), where.name.toRawUTF8(),
                                     O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC));
    if (!opened.isOpen() || ::fstat (opened.get(), &status) != 0)
        return FileDescriptor::failure (errno);
    if (const auto refused = refusal (status, largest, what); refused.failed())
        return refused;
    return opened.readUpTo (static_cast<size_t> (status.st_size), content);
}
