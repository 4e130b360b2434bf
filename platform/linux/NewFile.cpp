#include "platform/NewFile.h"

#include "platform/FileDescriptor.h"
#include "platform/SymbolicLinks.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
juce::Result failure (int error)
{
    return FileDescriptor::failure (error);
}

/** The written file beside the target, under a hidden name the library's reader skips; its name
    goes again unless it is the only one the content has. */
struct Written
{
    explicit Written (int folderHandle) : folder (folderHandle) {}
    ~Written()
    {
        if (name.isNotEmpty())
            ::unlinkat (folder, name.toRawUTF8(), 0);
    }

    juce::Result write (const void* data, size_t numBytes)
    {
        for (int attempt = 0; attempt < 16 && name.isEmpty(); ++attempt)
        {
            const auto candidate =
                ".marlo-" + juce::String::toHexString (juce::Random::getSystemRandom().nextInt());
            FileDescriptor file (
                ::openat (folder, candidate.toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (!file.isOpen())
            {
                if (errno != EEXIST)
                    return failure (errno);
                continue;
            }
            name = candidate;
            if (const auto written = file.writeAll (data, numBytes); written.failed())
                return written;
            if (::fsync (file.get()) != 0)
                return failure (errno);
            return file.close();
        }
        return name.isEmpty() ? failure (EEXIST) : juce::Result::ok();
    }

    /** Gives the file the target's name if nobody holds it; errno tells why not. */
    bool place (const juce::String& target)
    {
        if (::renameat2 (folder, name.toRawUTF8(), folder, target.toRawUTF8(), RENAME_NOREPLACE) == 0)
        {
            name.clear();
            return true;
        }
        // File systems without the flag (some network and FUSE ones) still refuse to link over a
        // name that is taken.
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
            return false;
        return ::linkat (folder, name.toRawUTF8(), folder, target.toRawUTF8(), 0) == 0;
    }

    int folder;
    juce::String name;

    JUCE_DECLARE_NON_COPYABLE (Written)
};
} // namespace

juce::Result NewFile::create (const juce::File& target, const void* data, size_t numBytes, bool& taken)
{
    taken = false;
    // The folder's links are followed; the name itself never is: a link there, even to nothing,
    // is a name that is taken.
    const auto where = SymbolicLinks::locate (target.getParentDirectory().getFullPathName() + "/.");
    if (!where.found())
        return where.result();
    if (where.name != ".")
        return failure (ENOENT);
    auto folder = where.openFolder();
    if (!folder.isOpen())
        return failure (errno);
    const auto name = target.getFileName();

    struct stat existing
    {
    };
    if (::fstatat (folder.get(), name.toRawUTF8(), &existing, AT_SYMLINK_NOFOLLOW) == 0)
    {
        taken = true;
        return failure (EEXIST);
    }
    Written written (folder.get());
    if (const auto result = written.write (data, numBytes); result.failed())
        return result;
    if (!written.place (name))
    {
        const auto error = errno;
        taken = error == EEXIST;
        return failure (error);
    }
    // The new name lives in the folder: until the folder is synced, a crash may lose it.
    if (::fsync (folder.get()) != 0 && errno != EINVAL)
        return failure (errno);
    return juce::Result::ok();
}
