#include "platform/PrivateFolder.h"

#include "WindowsSystem.h"

#include <map>
#include <mutex>
#include <optional>
#include <utility>

namespace
{
/** Whether `name` names an entry of the open folder itself, not one further down or elsewhere
    (a folder that is not open has none: its path is empty, and would name the working folder). */
bool isPlainName (const FileDescriptor& folder, const juce::String& name)
{
    return folder.isOpen() && name.isNotEmpty() && name != "." && name != ".." &&
           !name.containsAnyOf ("\\/:");
}

/** The folder held open, without following a link or junction put in its place. Held with
    deleting shared, so that its own parent can remove it once it is empty. */
FileDescriptor openFolderAt (const juce::String& path)
{
    return WindowsSystem::open (path, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | READ_CONTROL,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
}

/** Why a held folder is not used, if it is not. */
juce::Result refusal (const FileDescriptor& folder, PrivateFolder::KeptOut keptOut)
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle (WindowsSystem::handleOf (folder), &information))
        return WindowsSystem::lastFailure();
    if (WindowsSystem::isLink (WindowsSystem::handleOf (folder)) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return juce::Result::fail ("a link or a file, not a folder");
    return WindowsSystem::privacyOf (WindowsSystem::handleOf (folder), SE_FILE_OBJECT,
                                     keptOut == PrivateFolder::KeptOut::writers);
}

/** Opens the folder at `path`, made for this user alone when asked. */
FileDescriptor openOrMake (const juce::String& path, bool make, juce::Result& status)
{
    WindowsSystem::UserOnly security (true);
    if (make && !CreateDirectoryW (WindowsSystem::wide (path).c_str(), security.get()) &&
        GetLastError() != ERROR_ALREADY_EXISTS)
    {
        status = WindowsSystem::lastFailure();
        return {};
    }
    auto folder = openFolderAt (path);
    if (!folder.isOpen())
        status = WindowsSystem::lastFailure();
    return folder;
}

/** A file of the folder, never through a link; deleting it is shared, as on Linux a name can go
    while the file is open. */
FileDescriptor openEntry (const juce::String& path, DWORD access, DWORD disposition)
{
    return WindowsSystem::open (path, access, disposition, FILE_FLAG_OPEN_REPARSE_POINT);
}

/** Whether the open file is a regular file, not a link or a folder. */
bool isRegular (const FileDescriptor& opened, BY_HANDLE_FILE_INFORMATION& information)
{
    return GetFileInformationByHandle (WindowsSystem::handleOf (opened), &information) &&
           GetFileType (WindowsSystem::handleOf (opened)) == FILE_TYPE_DISK &&
           (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           !WindowsSystem::isLink (WindowsSystem::handleOf (opened));
}

using Identity = std::pair<DWORD, juce::uint64>;

std::optional<Identity> identityOf (const FileDescriptor& opened)
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle (WindowsSystem::handleOf (opened), &information))
        return std::nullopt;
    return Identity{information.dwVolumeSerialNumber,
                    ((juce::uint64)information.nFileIndexHigh << 32) | information.nFileIndexLow};
}

/** The folders this process renamed, by identity (volume and index), with their new paths. The
    system names a held folder by its path now, but Wine gives the path it was opened by, so a
    folder renamed here (a session folder is made under a hidden name, then given its own) is
    looked up here first. */
std::map<Identity, juce::String>& renamedFolders()
{
    static std::map<Identity, juce::String> renamed;
    return renamed;
}

std::mutex& renamedFoldersMutex()
{
    static std::mutex mutex;
    return mutex;
}

/** The identity of the folder at `path` now, if a folder is there. */
std::optional<Identity> folderIdentityAt (const juce::String& path)
{
    const auto opened = WindowsSystem::open (path, FILE_READ_ATTRIBUTES, OPEN_EXISTING,
                                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!opened.isOpen() || !GetFileInformationByHandle (WindowsSystem::handleOf (opened), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return std::nullopt;
    return identityOf (opened);
}

/** The path this process gave the held folder, if it renamed it. A folder removed since leaves
    its index to the next one made, anywhere on the volume, so a noted path counts only while it
    still names the folder it was noted for; one that does not is forgotten. */
std::optional<juce::String> renamedPathOf (const Identity& held)
{
    const std::lock_guard<std::mutex> lock (renamedFoldersMutex());
    auto& renamed = renamedFolders();
    for (auto noted = renamed.begin(); noted != renamed.end();)
    {
        // Wine gives a renamed folder's handle no volume, only its index.
        if (noted->first.second != held.second || (held.first != 0 && noted->first.first != held.first))
        {
            ++noted;
            continue;
        }
        if (folderIdentityAt (noted->second) == noted->first)
            return noted->second;
        noted = renamed.erase (noted);
    }
    return std::nullopt;
}

/** The entry `name` of the held folder, by the folder's path now, so that the entries follow the
    folder as they would follow a Linux descriptor. */
juce::File entryOf (const FileDescriptor& folder, const juce::String& name)
{
    if (const auto identity = identityOf (folder))
        if (const auto renamed = renamedPathOf (*identity))
            return juce::File (*renamed).getChildFile (name);
    const auto path = WindowsSystem::finalPath (WindowsSystem::handleOf (folder));
    return path.isEmpty() ? juce::File() : juce::File (path).getChildFile (name);
}

/** Notes a folder's new path once this process renamed it. */
void noteRenamed (const juce::File& renamed)
{
    if (const auto identity = folderIdentityAt (renamed.getFullPathName()))
    {
        const std::lock_guard<std::mutex> lock (renamedFoldersMutex());
        renamedFolders()[*identity] = renamed.getFullPathName();
    }
}

juce::Result notAName()
{
    return WindowsSystem::failure (ERROR_INVALID_NAME);
}
} // namespace

juce::Result PrivateFolder::checked (FileDescriptor candidate, const juce::File& folderFile, KeptOut kept,
                                     PrivateFolder& opened)
{
    if (const auto refused = refusal (candidate, kept); refused.failed())
        return refused;
    opened.descriptor = std::move (candidate);
    opened.file = folderFile;
    opened.keptOut = kept;
    return juce::Result::ok();
}

juce::Result PrivateFolder::open (const juce::File& folder, bool make, PrivateFolder& opened, KeptOut kept)
{
    const auto parent = folder.getParentDirectory();
    // The folders above are the user's own choice of place; the one that holds the user's work
    // is made for the user alone.
    if (make && !parent.isDirectory() && parent.getParentDirectory().createDirectory())
    {
        WindowsSystem::UserOnly security (true);
        CreateDirectoryW (WindowsSystem::wide (parent.getFullPathName()).c_str(), security.get());
    }
    if (!parent.isDirectory())
        return juce::Result::fail (parent.getFullPathName() + ": " +
                                   WindowsSystem::failure (ERROR_PATH_NOT_FOUND).getErrorMessage());
    auto status = juce::Result::ok();
    auto candidate = openOrMake (folder.getFullPathName(), make, status);
    return candidate.isOpen() ? checked (std::move (candidate), folder, kept, opened) : status;
}

juce::Result PrivateFolder::openFolder (const juce::String& name, bool make, PrivateFolder& opened) const
{
    if (!isPlainName (descriptor, name))
        return notAName();
    auto status = juce::Result::ok();
    auto candidate = openOrMake (entryOf (descriptor, name).getFullPathName(), make, status);
    return candidate.isOpen() ? checked (std::move (candidate), file.getChildFile (name), keptOut, opened)
                              : status;
}

juce::StringArray PrivateFolder::names() const
{
    juce::StringArray found;
    if (!descriptor.isOpen())
        return found;
    WIN32_FIND_DATAW entry{};
    const auto pattern = WindowsSystem::wide (entryOf (descriptor, "*").getFullPathName());
    const auto search =
        FindFirstFileExW (pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do
    {
        const juce::String name (entry.cFileName);
        if (name != "." && name != "..")
            found.add (name);
    } while (FindNextFileW (search, &entry));
    FindClose (search);
    return found;
}

bool PrivateFolder::contains (const juce::String& name) const
{
    return isPlainName (descriptor, name) &&
           GetFileAttributesW (WindowsSystem::wide (entryOf (descriptor, name).getFullPathName()).c_str()) !=
               INVALID_FILE_ATTRIBUTES;
}

juce::Result PrivateFolder::read (const juce::String& name, size_t largest, juce::MemoryBlock& content) const
{
    FileDescriptor opened;
    if (const auto result = openRegular (name, opened); result.failed())
        return result;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle (WindowsSystem::handleOf (opened), &information))
        return WindowsSystem::lastFailure();
    const auto size = ((juce::uint64)information.nFileSizeHigh << 32) | information.nFileSizeLow;
    if (size > largest)
        return juce::Result::fail ("larger than " + juce::String ((juce::uint64)largest) + " bytes");
    return opened.readUpTo ((size_t)size, content);
}

juce::Result PrivateFolder::write (const juce::String& name, const void* data, size_t numBytes) const
{
    if (!isPlainName (descriptor, name))
        return notAName();
    const auto temporary = entryOf (descriptor, "." + name + ".new").getFullPathName();
    const auto target = entryOf (descriptor, name).getFullPathName();
    // One a crash left behind is this folder's own.
    DeleteFileW (WindowsSystem::wide (temporary).c_str());
    // Made inside the folder, the file takes its access for the user alone.
    auto created = openEntry (temporary, GENERIC_WRITE, CREATE_NEW);
    if (!created.isOpen())
        return WindowsSystem::lastFailure();

    auto written = created.writeAll (data, numBytes);
    if (written.wasOk() && !FlushFileBuffers (WindowsSystem::handleOf (created)))
        written = WindowsSystem::lastFailure();
    if (written.wasOk())
        written = created.close();
    if (written.wasOk() &&
        !MoveFileExW (WindowsSystem::wide (temporary).c_str(), WindowsSystem::wide (target).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        written = WindowsSystem::lastFailure();
    if (written.failed())
    {
        created.close();
        DeleteFileW (WindowsSystem::wide (temporary).c_str());
    }
    return written;
}

bool PrivateFolder::remove (const juce::String& name) const
{
    if (!isPlainName (descriptor, name))
        return false;
    const auto path = WindowsSystem::wide (entryOf (descriptor, name).getFullPathName());
    const auto attributes = GetFileAttributesW (path.c_str());
    // A folder is not a file to remove, as on Linux.
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    // Of two removals at once exactly one may succeed (HandOverRequest decides its race so). A
    // file deleted while it is open may keep its name until it is closed, and a second deletion
    // of it may succeed as well (Wine's does), so the name is first taken away by a rename,
    // which exactly one of the two wins; the winner then deletes the file under its new name.
    const auto removed = entryOf (
        descriptor, "." + name + "." +
                        juce::String::toHexString (juce::Random::getSystemRandom().nextInt64()) + ".removed");
    const auto gone = WindowsSystem::wide (removed.getFullPathName());
    if (!MoveFileExW (path.c_str(), gone.c_str(), 0))
        return false;
    // The name is gone either way. A file with the read-only attribute is not deleted until it
    // loses it (on Linux the folder decides alone); one that still stays, held by another
    // program, goes with the next removal here.
    if (!DeleteFileW (gone.c_str()))
        SetFileAttributesW (gone.c_str(), FILE_ATTRIBUTE_NORMAL);
    WIN32_FIND_DATAW found{};
    const auto search = FindFirstFileW (
        WindowsSystem::wide (entryOf (descriptor, ".*.removed").getFullPathName()).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    do
        DeleteFileW (
            WindowsSystem::wide (entryOf (descriptor, juce::String (found.cFileName)).getFullPathName())
                .c_str());
    while (FindNextFileW (search, &found));
    FindClose (search);
    return true;
}

bool PrivateFolder::removeFolder (const juce::String& name) const
{
    return isPlainName (descriptor, name) &&
           RemoveDirectoryW (WindowsSystem::wide (entryOf (descriptor, name).getFullPathName()).c_str());
}

juce::Result PrivateFolder::rename (const juce::String& from, const juce::String& to) const
{
    if (!isPlainName (descriptor, from) || !isPlainName (descriptor, to))
        return notAName();
    // Without MOVEFILE_REPLACE_EXISTING the new name must be free.
    const auto target = entryOf (descriptor, to);
    if (!MoveFileExW (WindowsSystem::wide (entryOf (descriptor, from).getFullPathName()).c_str(),
                      WindowsSystem::wide (target.getFullPathName()).c_str(), MOVEFILE_WRITE_THROUGH))
        return WindowsSystem::lastFailure();
    noteRenamed (target);
    return juce::Result::ok();
}

juce::Result PrivateFolder::create (const juce::String& name, FileDescriptor& created, bool& nameTaken) const
{
    nameTaken = false;
    if (!isPlainName (descriptor, name))
        return notAName();
    auto made =
        openEntry (entryOf (descriptor, name).getFullPathName(), GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    const auto error = GetLastError();
    nameTaken = !made.isOpen() && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
    if (!made.isOpen())
        return WindowsSystem::failure (error);
    created = std::move (made);
    return juce::Result::ok();
}

juce::Result PrivateFolder::openRegular (const juce::String& name, FileDescriptor& opened) const
{
    if (!isPlainName (descriptor, name))
        return notAName();
    auto candidate = openEntry (entryOf (descriptor, name).getFullPathName(), GENERIC_READ, OPEN_EXISTING);
    if (!candidate.isOpen())
        return WindowsSystem::lastFailure();
    BY_HANDLE_FILE_INFORMATION information{};
    if (!isRegular (candidate, information))
        return juce::Result::fail ("not a regular file");
    opened = std::move (candidate);
    return juce::Result::ok();
}

bool PrivateFolder::stillNames (const juce::String& name, const FileDescriptor& opened) const
{
    BY_HANDLE_FILE_INFORMATION held{};
    BY_HANDLE_FILE_INFORMATION named{};
    FILE_STANDARD_INFO standard{};
    const auto handle = WindowsSystem::handleOf (opened);
    if (!isPlainName (descriptor, name) || !GetFileInformationByHandle (handle, &held) ||
        !GetFileInformationByHandleEx (handle, FileStandardInfo, &standard, sizeof (standard)) ||
        standard.DeletePending)
        return false;
    const auto current =
        openEntry (entryOf (descriptor, name).getFullPathName(), FILE_READ_ATTRIBUTES, OPEN_EXISTING);
    return current.isOpen() && GetFileInformationByHandle (WindowsSystem::handleOf (current), &named) &&
           held.dwVolumeSerialNumber == named.dwVolumeSerialNumber &&
           held.nFileIndexHigh == named.nFileIndexHigh && held.nFileIndexLow == named.nFileIndexLow;
}

juce::Result PrivateFolder::openLockFile (const juce::String& name, FileDescriptor& opened) const
{
    if (!isPlainName (descriptor, name))
        return notAName();
    auto made =
        openEntry (entryOf (descriptor, name).getFullPathName(), GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    if (!made.isOpen())
        return WindowsSystem::lastFailure();
    BY_HANDLE_FILE_INFORMATION information{};
    if (!isRegular (made, information))
        return juce::Result::fail ("not a regular file");
    opened = std::move (made);
    return juce::Result::ok();
}
