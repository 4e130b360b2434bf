#include "platform/SymbolicLinks.h"

#include "platform/ExactText.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

const juce::String SymbolicLinks::sharedLinkRefusal (juce::String (std::strerror (EACCES)) +
                                                     ": a link in a shared folder");

namespace
{
/** The names of a path, last first, so that the next one to walk is at the back. */
void pushNames (const juce::String& path, std::vector<juce::String>& pending)
{
    auto names = juce::StringArray::fromTokens (path, "/", "");
    names.removeEmptyStrings();
    for (int i = names.size(); --i >= 0;)
        pending.push_back (names[i]);
}

FileDescriptor openStart (const juce::String& path)
{
    return FileDescriptor (::open (path.startsWithChar ('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
}

/** The kernel's rule for links in shared folders (fs.protected_symlinks), applied here because
    the system may not apply it: a link in a sticky folder that everybody may write is followed
    only when the user or the folder's owner made it. */
bool mayFollow (int folder, const struct stat& link)
{
    struct stat status
    {
    };
    if (::fstat (folder, &status) != 0)
        return false;
    const auto shared = (status.st_mode & S_ISVTX) != 0 && (status.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == ::geteuid() || link.st_uid == status.st_uid;
}

/** The text of the link open at `link`, or false with errno set. */
bool readLink (int link, const struct stat& status, juce::String& text)
{
    // st_size is the link's length (0 for the system's own links in /proc, which are read all the
    // same); one byte more tells a link that grew from one that fits.
    std::vector<char> buffer (static_cast<size_t> (juce::jmax<off_t> (status.st_size, PATH_MAX)) + 1);
    const auto length = ::readlinkat (link, "", buffer.data(), buffer.size());
    if (length < 0)
        return false;
    if (static_cast<size_t> (length) == buffer.size())
    {
        errno = ENAMETOOLONG;
        return false;
    }
    // A link the framework's strings cannot spell exactly would lead somewhere else.
    const auto exact = ExactText::fromBytes (buffer.data(), static_cast<size_t> (length));
    if (!exact.has_value())
    {
        errno = EILSEQ;
        return false;
    }
    text = *exact;
    return true;
}

SymbolicLinks::Location failed (int error, bool sharedLink = false)
{
    SymbolicLinks::Location location;
    location.error = error;
    location.sharedLink = sharedLink;
    return location;
}
} // namespace

juce::Result SymbolicLinks::Location::result() const
{
    if (sharedLink)
        return juce::Result::fail (sharedLinkRefusal);
    return error == 0 ? juce::Result::ok() : FileDescriptor::failure (error);
}

juce::String SymbolicLinks::Location::path() const
{
    if (name == ".")
        return folderPath.isEmpty() ? juce::String ("/") : folderPath;
    return folderPath + "/" + name;
}

FileDescriptor SymbolicLinks::Location::openFolder() const
{
    return FileDescriptor (::openat (folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

SymbolicLinks::Location SymbolicLinks::locate (const juce::String& path)
{
    if (path.isEmpty())
        return failed (ENOENT);

    Location location;
    location.folder = openStart (path);
    location.folderPath = path.startsWithChar ('/')
                              ? juce::String()
                              : juce::File::getCurrentWorkingDirectory().getFullPathName();
    if (!location.folder.isOpen())
        return failed (errno);

    std::vector<juce::String> pending;
    pushNames (path, pending);
    int followed = 0;
    location.name = ".";
    while (!pending.empty())
    {
        const auto name = pending.back();
        pending.pop_back();
        const auto isLast = pending.empty();
        location.name = ".";
        if (name == ".")
            continue;
        if (name == "..")
        {
            // The folder's real parent, as the system goes up, not the one a link came from.
            location.folder =
                FileDescriptor (::openat (location.folder.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
            if (!location.folder.isOpen())
                return failed (errno);
            location.folderPath = folderOf (location.folderPath.isEmpty() ? "/" : location.folderPath);
            if (location.folderPath == "/")
                location.folderPath = {};
            continue;
        }

        FileDescriptor entry (
            ::openat (location.folder.get(), name.toRawUTF8(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        struct stat status
        {
        };
        if (!entry.isOpen())
        {
            if (errno == ENOENT && isLast)
            {
                location.name = name;
                return location;
            }
            return failed (errno);
        }
        if (::fstat (entry.get(), &status) != 0)
            return failed (errno);

        if (S_ISLNK (status.st_mode))
        {
            if (++followed > mostFollowed)
                return failed (ELOOP);
            if (!mayFollow (location.folder.get(), status))
                return failed (EACCES, true);
            juce::String text;
            if (!readLink (entry.get(), status, text))
                return failed (errno);
            if (text.startsWithChar ('/'))
            {
                location.folder = openStart (text);
                location.folderPath = {};
                if (!location.folder.isOpen())
                    return failed (errno);
            }
            pushNames (text, pending);
            continue;
        }
        if (isLast)
        {
            location.name = name;
            return location;
        }
        if (!S_ISDIR (status.st_mode))
            return failed (ENOTDIR);
        location.folder = std::move (entry);
        location.folderPath += "/" + name;
    }
    return location;
}

juce::String SymbolicLinks::folderOf (const juce::String& path)
{
    const auto folder = path.upToLastOccurrenceOf ("/", false, false);
    return folder.isEmpty() ? juce::String ("/") : folder;
}

juce::File SymbolicLinks::fileNamed (const juce::File& workingFolder, const juce::String& name)
{
    const auto path = name.startsWithChar ('/') ? name : workingFolder.getFullPathName() + "/" + name;
    const auto last = path.fromLastOccurrenceOf ("/", false, false);

    // "." and ".." at the end name folders; the system's own resolution of them is the folder's.
    const auto isFolderName = last == "." || last == "..";
    const auto toResolve = isFolderName ? path : folderOf (path);
    const auto folder = locate (toResolve);
    if (!folder.found() || (folder.name != "." && !juce::File (folder.path()).isDirectory()))
        return juce::File (path);

    const auto resolved = folder.path();
    if (isFolderName)
        return juce::File (resolved);
    return juce::File (resolved == "/" ? "/" + last : resolved + "/" + last);
}
