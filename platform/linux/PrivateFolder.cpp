#include "platform/PrivateFolder.h"

#include "platform/ExactText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
/** Why a descriptor's folder is not used, if it is not. */
juce::Result refusal (int descriptor, PrivateFolder::KeptOut keptOut)
{
    struct stat status
    {
    };
    if (::fstat (descriptor, &status) != 0)
        return FileDescriptor::failure (errno);
    if (!S_ISDIR (status.st_mode))
        return juce::Result::fail ("not a folder");
    if (status.st_uid != ::geteuid())
        return juce::Result::fail ("owned by another user");
    if ((status.st_mode & 0022) != 0)
        return juce::Result::fail ("others may write to it");
    if (keptOut == PrivateFolder::KeptOut::everybody && (status.st_mode & 0077) != 0)
        return juce::Result::fail ("others may enter it");
    return juce::Result::ok();
}

/** The status of the entry `name` itself, a link not followed; false with errno set. */
bool statusOf (int folder, const juce::String& name, struct stat& status)
{
    return ::fstatat (folder, name.toRawUTF8(), &status, AT_SYMLINK_NOFOLLOW) == 0;
}

/** Opens `name` in `parent` as a folder without following it, made for this user when asked. */
FileDescriptor openFolderIn (int parent, const juce::String& name, bool make, juce::Result& status)
{
    if (make && ::mkdirat (parent, name.toRawUTF8(), 0700) != 0 && errno != EEXIST)
    {
        status = FileDescriptor::failure (errno);
        return {};
    }
    FileDescriptor folder (
        ::openat (parent, name.toRawUTF8(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.isOpen())
        status = errno == ELOOP || errno == ENOTDIR ? juce::Result::fail ("a link or a file, not a folder")
                                                    : FileDescriptor::failure (errno);
    return folder;
}
} // namespace

juce::Result PrivateFolder::checked (FileDescriptor candidate, const juce::File& folderFile, KeptOut kept,
                                     PrivateFolder& opened)
{
    if (const auto refused = refusal (candidate.get(), kept); refused.failed())
        return refused;
    opened.descriptor = std::move (candidate);
    opened.file = folderFile;
    opened.keptOut = kept;
    return juce::Result::ok();
}

juce::Result PrivateFolder::open (const juce::File& folder, bool make, PrivateFolder& opened, KeptOut kept)
{
    const auto parent = folder.getParentDirectory();
    // The folders above are the user's own choice of place (a link among them is fine); the
    // one that holds the user's work is made for the user alone.
    if (make && !parent.isDirectory() && parent.getParentDirectory().createDirectory())
        ::mkdir (parent.getFullPathName().toRawUTF8(), 0700);

    FileDescriptor parentFolder (
        ::open (parent.getFullPathName().toRawUTF8(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!parentFolder.isOpen())
        return juce::Result::fail (parent.getFullPathName() + ": " +
                                   FileDescriptor::failure (errno).getErrorMessage());
    auto status = juce::Result::ok();
    auto candidate = openFolderIn (parentFolder.get(), folder.getFileName(), make, status);
    return candidate.isOpen() ? checked (std::move (candidate), folder, kept, opened) : status;
}

juce::Result PrivateFolder::openFolder (const juce::String& name, bool make, PrivateFolder& opened) const
{
    auto status = juce::Result::ok();
    auto candidate = openFolderIn (descriptor.get(), name, make, status);
    return candidate.isOpen() ? checked (std::move (candidate), file.getChildFile (name), keptOut, opened)
                              : status;
}

juce::StringArray PrivateFolder::names() const
{
    juce::StringArray found;
    FileDescriptor copy (::dup (descriptor.get()));
    auto* listing = copy.isOpen() ? ::fdopendir (copy.get()) : nullptr;
    if (listing == nullptr)
        return found;
    // The listing owns the copy from here on, and closes it.
    copy.release();
    // The copy shares the position of the folder's descriptor, which an earlier listing moved.
    ::rewinddir (listing);
    while (const auto* entry = ::readdir (listing))
    {
        // A name the framework's strings cannot spell exactly is nobody's entry here.
        const auto name = ExactText::fromBytes (entry->d_name, std::strlen (entry->d_name));
        if (name.has_value() && *name != "." && *name != "..")
            found.add (*name);
    }
    ::closedir (listing);
    return found;
}

bool PrivateFolder::contains (const juce::String& name) const
{
    struct stat status
    {
    };
    return statusOf (descriptor.get(), name, status);
}

juce::Result PrivateFolder::read (const juce::String& name, size_t largest, juce::MemoryBlock& content) const
{
    FileDescriptor opened (::openat (descriptor.get(), name.toRawUTF8(),
                                     O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status
    {
    };
    if (!opened.isOpen() || ::fstat (opened.get(), &status) != 0)
        return FileDescriptor::failure (errno);
    if (!S_ISREG (status.st_mode))
        return juce::Result::fail ("not a regular file");
    if (static_cast<juce::uint64> (status.st_size) > largest)
        return juce::Result::fail ("larger than " + juce::String (static_cast<juce::uint64> (largest)) +
                                   " bytes");
    return opened.readUpTo (static_cast<size_t> (status.st_size), content);
}

juce::Result PrivateFolder::write (const juce::String& name, const void* data, size_t numBytes) const
{
    const auto temporary = "." + name + ".new";
    // One a crash left behind is this folder's own.
    ::unlinkat (descriptor.get(), temporary.toRawUTF8(), 0);
    FileDescriptor created (::openat (descriptor.get(), temporary.toRawUTF8(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!created.isOpen())
        return FileDescriptor::failure (errno);

    auto written = created.writeAll (data, numBytes);
    if (written.wasOk() && ::fsync (created.get()) != 0)
        written = FileDescriptor::failure (errno);
    if (written.wasOk())
        written = created.close();
    if (written.wasOk() &&
        ::renameat (descriptor.get(), temporary.toRawUTF8(), descriptor.get(), name.toRawUTF8()) != 0)
        written = FileDescriptor::failure (errno);
    if (written.failed())
    {
        ::unlinkat (descriptor.get(), temporary.toRawUTF8(), 0);
        return written;
    }
    // The rename lives in the folder; a file system that cannot sync a folder says EINVAL.
    if (::fsync (descriptor.get()) != 0 && errno != EINVAL)
        return FileDescriptor::failure (errno);
    return juce::Result::ok();
}

bool PrivateFolder::remove (const juce::String& name) const
{
    return ::unlinkat (descriptor.get(), name.toRawUTF8(), 0) == 0;
}

bool PrivateFolder::removeFolder (const juce::String& name) const
{
    return ::unlinkat (descriptor.get(), name.toRawUTF8(), AT_REMOVEDIR) == 0;
}

juce::Result PrivateFolder::rename (const juce::String& from, const juce::String& to) const
{
    if (::renameat2 (descriptor.get(), from.toRawUTF8(), descriptor.get(), to.toRawUTF8(),
                     RENAME_NOREPLACE) == 0)
        return juce::Result::ok();
    return FileDescriptor::failure (errno);
}

juce::Result PrivateFolder::create (const juce::String& name, FileDescriptor& created, bool& nameTaken) const
{
    FileDescriptor made (::openat (descriptor.get(), name.toRawUTF8(),
                                   O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    const auto error = errno;
    nameTaken = !made.isOpen() && error == EEXIST;
    if (!made.isOpen())
        return FileDescriptor::failure (error);
    created = std::move (made);
    return juce::Result::ok();
}

juce::Result PrivateFolder::openRegular (const juce::String& name, FileDescriptor& opened) const
{
    // Looked at before it is opened, so that nothing but a regular file is ever opened here.
    struct stat status
    {
    };
    if (!statusOf (descriptor.get(), name, status))
        return FileDescriptor::failure (errno);
    if (!S_ISREG (status.st_mode))
        return juce::Result::fail ("not a regular file");
    FileDescriptor candidate (::openat (descriptor.get(), name.toRawUTF8(),
                                        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!candidate.isOpen() || ::fstat (candidate.get(), &status) != 0)
        return FileDescriptor::failure (errno);
    if (!S_ISREG (status.st_mode))
        return juce::Result::fail ("not a regular file");
    opened = std::move (candidate);
    return juce::Result::ok();
}

bool PrivateFolder::stillNames (const juce::String& name, const FileDescriptor& opened) const
{
    struct stat held
    {
    };
    struct stat named
    {
    };
    return ::fstat (opened.get(), &held) == 0 && held.st_nlink > 0 &&
           statusOf (descriptor.get(), name, named) && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

juce::Result PrivateFolder::openLockFile (const juce::String& name, FileDescriptor& opened) const
{
    FileDescriptor made (
        ::openat (descriptor.get(), name.toRawUTF8(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!made.isOpen())
        return FileDescriptor::failure (errno);
    opened = std::move (made);
    return juce::Result::ok();
}
