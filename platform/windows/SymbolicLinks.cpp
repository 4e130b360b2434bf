#include "platform/SymbolicLinks.h"

#include "WindowsSystem.h"

#include <cerrno>
#include <cstring>

// The same words as on Linux; Windows has no sticky shared folders, so nothing is refused for it.
const juce::String SymbolicLinks::sharedLinkRefusal (juce::String (std::strerror (EACCES)) +
                                                     ": a link in a shared folder");

namespace
{
constexpr DWORD forLookups = FILE_READ_ATTRIBUTES;

bool isSeparator (juce::juce_wchar character)
{
    return character == '\\' || character == '/';
}

int lastSeparator (const juce::String& path)
{
    for (auto index = path.length(); --index >= 0;)
        if (isSeparator (path[index]))
            return index;
    return -1;
}

/** The path as the system completes it: from the working folder, its "." and ".." taken away as
    text (which is what Windows itself does with them). */
juce::String absolute (const juce::String& path)
{
    const auto wide = WindowsSystem::wide (path);
    const auto length = GetFullPathNameW (wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return {};
    std::vector<wchar_t> buffer (length + 1);
    if (GetFullPathNameW (wide.c_str(), (DWORD)buffer.size(), buffer.data(), nullptr) == 0)
        return {};
    return juce::String (buffer.data());
}

juce::String joined (const juce::String& folder, const juce::String& name)
{
    return folder.endsWithChar ('\\') ? folder + name : folder + "\\" + name;
}

bool attributesOf (const FileDescriptor& opened, DWORD& attributes)
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle (WindowsSystem::handleOf (opened), &information))
        return false;
    attributes = information.dwFileAttributes;
    return true;
}

/** Where a name that starts with a separator starts from: the working folder's drive ("C:"), or
    its share ("\\server\share") for a network path. */
juce::String rootOf (const juce::String& workingFolder)
{
    if (!isSeparator (workingFolder[0]) || !isSeparator (workingFolder[1]))
        return workingFolder.substring (0, 2);
    for (int index = 2, separators = 0; index < workingFolder.length(); ++index)
        if (isSeparator (workingFolder[index]) && ++separators == 2)
            return workingFolder.substring (0, index);
    return workingFolder;
}

SymbolicLinks::Location failed (DWORD error)
{
    SymbolicLinks::Location location;
    location.error = (int)error;
    return location;
}
} // namespace

juce::Result SymbolicLinks::Location::result() const
{
    if (sharedLink)
        return juce::Result::fail (sharedLinkRefusal);
    return error == 0 ? juce::Result::ok() : WindowsSystem::failure ((DWORD)error);
}

juce::String SymbolicLinks::Location::path() const
{
    return name == "." ? folderPath : joined (folderPath, name);
}

FileDescriptor SymbolicLinks::Location::openFolder() const
{
    return WindowsSystem::open (folderPath, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
}

SymbolicLinks::Location SymbolicLinks::locate (const juce::String& path)
{
    auto full = path.isEmpty() ? juce::String() : absolute (path);
    if (full.isEmpty())
        return failed (ERROR_FILE_NOT_FOUND);

    for (int followed = 0;; ++followed)
    {
        // The folders on the way are followed as the system follows them; the last name is not.
        Location location;
        const auto cut = lastSeparator (full);
        const auto isRoot = cut < 0 || cut == full.length() - 1;
        const auto folderText = isRoot ? full : folderOf (full);
        location.folder =
            WindowsSystem::open (folderText, forLookups, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
        DWORD attributes = 0;
        if (!location.folder.isOpen())
            return failed (GetLastError());
        if (!attributesOf (location.folder, attributes))
            return failed (GetLastError());
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return failed (ERROR_DIRECTORY);
        location.folderPath = WindowsSystem::finalPath (WindowsSystem::handleOf (location.folder));
        if (location.folderPath.isEmpty())
            return failed (GetLastError());
        location.name = isRoot ? juce::String (".") : full.substring (cut + 1);
        if (isRoot)
            return location;

        const auto entry = WindowsSystem::open (location.path(), forLookups, OPEN_EXISTING,
                                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
        if (!entry.isOpen())
        {
            // A missing last name is found too: it is the file to create.
            if (GetLastError() == ERROR_FILE_NOT_FOUND)
                return location;
            return failed (GetLastError());
        }
        // A file that a filter serves (a cloud placeholder, a deduplicated file) is the file.
        if (!WindowsSystem::isLink (WindowsSystem::handleOf (entry)))
            return location;

        // A link (or a junction) at the end: the file it finally names takes its place. A link
        // to nothing is refused here, where Linux would make its target.
        if (followed >= mostFollowed)
            return failed (ERROR_CANT_RESOLVE_FILENAME);
        const auto target =
            WindowsSystem::open (location.path(), forLookups, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
        if (!target.isOpen())
            return failed (GetLastError());
        full = WindowsSystem::finalPath (WindowsSystem::handleOf (target));
        if (full.isEmpty())
            return failed (GetLastError());
    }
}

juce::String SymbolicLinks::folderOf (const juce::String& path)
{
    const auto cut = lastSeparator (path);
    if (cut < 0)
        return path;
    const auto folder = path.substring (0, cut);
    // "C:" is the drive's working folder; its root is "C:\".
    return folder.isEmpty() || folder.endsWithChar (':') ? path.substring (0, cut + 1) : folder;
}

juce::File SymbolicLinks::fileNamed (const juce::File& workingFolder, const juce::String& name)
{
    // Windows takes "." and ".." away as text, links or not, so the name is completed the way the
    // system completes it: from the working folder, or from its drive's or share's root for "\name".
    if (name.isEmpty())
        return workingFolder;
    // A drive's path ("C:name" from that drive's own working folder, which the system keeps) or a
    // network one.
    if ((name.length() >= 2 && name[1] == ':') || (isSeparator (name[0]) && isSeparator (name[1])))
        return juce::File (absolute (name));
    if (isSeparator (name[0]))
        return juce::File (absolute (rootOf (workingFolder.getFullPathName()) + name));
    return juce::File (absolute (joined (workingFolder.getFullPathName(), name)));
}
