#include "platform/HandOverRequest.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr int attemptsToCreate = 16;

juce::uint64 randomId()
{
    juce::Random random;
    random.setSeedRandomly();
    return (juce::uint64)random.nextInt64();
}

bool sameFile (const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/** Whether the handle still names the file at the path: a sweep may have removed it between
    the file's creation and its lock. */
bool stillLinkedAt (int handle, const char* path)
{
    struct stat opened
    {
    };
    struct stat named
    {
    };
    return ::fstat (handle, &opened) == 0 && opened.st_nlink > 0 && ::lstat (path, &named) == 0 &&
           sameFile (opened, named);
}

void removeIfAbandoned (const juce::File& file)
{
    const auto path = file.getFullPathName();
    struct stat named
    {
    };
    if (::lstat (path.toRawUTF8(), &named) != 0 || !S_ISREG (named.st_mode))
        return;

    const auto handle = ::open (path.toRawUTF8(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        return;

    // A running launch holds the lock for as long as it waits.
    if (::flock (handle, LOCK_EX | LOCK_NB) == 0 && stillLinkedAt (handle, path.toRawUTF8()))
        ::unlink (path.toRawUTF8());

    ::close (handle);
}
} // namespace

HandOverRequest::HandOverRequest (juce::File requestFile, juce::uint64 requestId, int lockedHandle)
    : file (std::move (requestFile)), id (requestId), handle (lockedHandle)
{
}

HandOverRequest::~HandOverRequest()
{
    ::close (handle);
}

juce::File HandOverRequest::fileFor (const juce::File& folder, juce::uint64 requestId)
{
    return folder.getChildFile (juce::String::toHexString ((juce::int64)requestId).paddedLeft ('0', 16) +
                                extension);
}

std::unique_ptr<HandOverRequest> HandOverRequest::create (const juce::File& folder)
{
    for (int attempt = 0; attempt < attemptsToCreate; ++attempt)
    {
        const auto requestId = randomId();
        const auto requestFile = fileFor (folder, requestId);
        const auto path = requestFile.getFullPathName();
        const auto handle =
            ::open (path.toRawUTF8(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);

        if (handle < 0)
        {
            if (errno == EEXIST)
                continue;

            return nullptr;
        }

        if (::flock (handle, LOCK_EX) == 0 && stillLinkedAt (handle, path.toRawUTF8()))
            return std::unique_ptr<HandOverRequest> (new HandOverRequest (requestFile, requestId, handle));

        ::close (handle);
    }

    return nullptr;
}

bool HandOverRequest::take (const juce::File& folder, juce::uint64 requestId)
{
    return ::unlink (fileFor (folder, requestId).getFullPathName().toRawUTF8()) == 0;
}

bool HandOverRequest::giveUp()
{
    return ::unlink (file.getFullPathName().toRawUTF8()) == 0;
}

void HandOverRequest::removeAbandoned (const juce::File& folder)
{
    for (const auto& entry :
         juce::RangedDirectoryIterator (folder, false, juce::String ("*") + extension, juce::File::findFiles))
        removeIfAbandoned (entry.getFile());
}
