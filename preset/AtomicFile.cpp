#include "preset/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
juce::Result systemFailure()
{
    return juce::Result::fail (juce::String (std::strerror (errno)));
}

bool writeAll (int handle, const void* data, size_t numBytes)
{
    const auto* bytes = static_cast<const char*> (data);

    while (numBytes > 0)
    {
        const auto written = ::write (handle, bytes, numBytes);

        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;

        bytes += written;
        numBytes -= (size_t)written;
    }

    return true;
}

/** Creates a new file with a short, unused name in the folder; -1 with errno set on failure. */
int createSibling (const juce::File& folder, juce::String& path)
{
    for (int attempt = 0; attempt < 16; ++attempt)
    {
        path = folder
                   .getChildFile (".marlo-" +
                                  juce::String::toHexString (juce::Random::getSystemRandom().nextInt()))
                   .getFullPathName();
        const auto handle = ::open (path.toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);

        if (handle >= 0 || errno != EEXIST)
            return handle;
    }

    return -1;
}
} // namespace

juce::Result AtomicFile::replaceContent (const juce::File& target, const void* data, size_t numBytes)
{
    juce::String temporaryPath;
    const auto handle = createSibling (target.getParentDirectory(), temporaryPath);

    if (handle < 0)
        return systemFailure();

    // A file that is replaced keeps the permissions its owner gave it.
    struct stat existing
    {
    };
    const auto keepsMode = ::stat (target.getFullPathName().toRawUTF8(), &existing) == 0;

    if ((keepsMode && ::fchmod (handle, existing.st_mode & 07777) != 0) ||
        !writeAll (handle, data, numBytes) || ::fsync (handle) != 0)
    {
        const auto failure = systemFailure();
        ::close (handle);
        ::unlink (temporaryPath.toRawUTF8());
        return failure;
    }

    if (::close (handle) != 0 ||
        ::rename (temporaryPath.toRawUTF8(), target.getFullPathName().toRawUTF8()) != 0)
    {
        const auto failure = systemFailure();
        ::unlink (temporaryPath.toRawUTF8());
        return failure;
    }

    return juce::Result::ok();
}
