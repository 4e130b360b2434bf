#include "platform/SymbolicLinks.h"

#include "platform/FileDescriptor.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

juce::Result SymbolicLinks::follow (const juce::String& path, juce::String& target)
{
    auto current = path;
    for (int followed = 0;; ++followed)
    {
        struct stat status
        {
        };
        if (::lstat (current.toRawUTF8(), &status) != 0)
        {
            // A missing last name is where a dangling link points: the file to create.
            if (errno != ENOENT)
                return FileDescriptor::failure (errno);
            break;
        }
        if (!S_ISLNK (status.st_mode))
            break;
        if (followed == mostFollowed)
            return FileDescriptor::failure (ELOOP);

        // st_size is the link's length, but the link may change before it is read; one byte more
        // tells a link that grew from one that fits.
        std::vector<char> text (static_cast<size_t> (juce::jmax<off_t> (status.st_size, 255)) + 1);
        const auto length = ::readlink (current.toRawUTF8(), text.data(), text.size());
        if (length < 0)
            return FileDescriptor::failure (errno);
        if (static_cast<size_t> (length) == text.size())
            return FileDescriptor::failure (ENAMETOOLONG);

        const auto named = juce::String::fromUTF8 (text.data(), static_cast<int> (length));
        current = named.startsWithChar ('/') ? named : folderOf (current) + "/" + named;
    }
    target = current;
    return juce::Result::ok();
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
    const auto toResolve = (last == "." || last == "..") ? path : folderOf (path);
    char resolved[PATH_MAX];
    if (toResolve.isEmpty() || ::realpath (toResolve.toRawUTF8(), resolved) == nullptr)
        return juce::File (path);

    const auto folder = juce::String (juce::CharPointer_UTF8 (resolved));
    if (last == "." || last == "..")
        return juce::File (folder);
    return juce::File (folder == "/" ? "/" + last : folder + "/" + last);
}
