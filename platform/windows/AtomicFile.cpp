#include "platform/AtomicFile.h"

#include "WindowsSystem.h"
#include "platform/FileDescriptor.h"
#include "platform/FileLock.h"
#include "platform/SymbolicLinks.h"

#include <cerrno>
#include <cstring>

namespace
{
juce::Result notRegular()
{
    return juce::Result::fail ("it is not a regular file");
}

juce::Result flushAndClose (FileDescriptor& file)
{
    if (!FlushFileBuffers (WindowsSystem::handleOf (file)))
        return WindowsSystem::lastFailure();
    return file.close();
}

/** Why an existing file may not be written, if it may not. */
juce::Result refusal (const juce::String& path, const FileDescriptor& existing,
                      const BY_HANDLE_FILE_INFORMATION& information)
{
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FileDescriptor::failure (EISDIR);
    if (GetFileType (WindowsSystem::handleOf (existing)) != FILE_TYPE_DISK)
        return notRegular();
    // An administrator may clear the attribute; a file made read-only stays so, as on Linux.
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return juce::Result::fail (juce::String (std::strerror (EACCES)) + ": the file is read-only");
    // The system's own answer to whether this user may write it.
    if (!WindowsSystem::open (path, GENERIC_WRITE, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT).isOpen())
        return WindowsSystem::lastFailure();
    return juce::Result::ok();
}

/** The old content is gone before the new is complete, so this is only for a file that a new
    file in its place would split from its other names, or whose folder takes no new file. */
juce::Result rewriteInPlace (const juce::String& path, const void* data, size_t numBytes)
{
    auto file = WindowsSystem::openUnfollowed (path, GENERIC_WRITE);
    if (!file.isOpen())
        return WindowsSystem::lastFailure();
    if (GetFileType (WindowsSystem::handleOf (file)) != FILE_TYPE_DISK ||
        WindowsSystem::isLink (WindowsSystem::handleOf (file)))
        return notRegular();
    if (const auto written = file.writeAll (data, numBytes); written.failed())
        return written;
    if (!SetEndOfFile (WindowsSystem::handleOf (file)))
        return WindowsSystem::lastFailure();
    return flushAndClose (file);
}

/** The new file beside the target; it is removed again unless it took the target's place, or is
    the only copy of the content left. */
struct Sibling
{
    explicit Sibling (juce::String folderPath) : folder (std::move (folderPath)) {}
    ~Sibling()
    {
        file.close();
        if (!kept && path.isNotEmpty())
            DeleteFileW (WindowsSystem::wide (path).c_str());
    }

    /** Creates the file under a short, unused name; false with the last error set when it cannot. */
    bool create()
    {
        for (int attempt = 0; attempt < 16; ++attempt)
        {
            const auto candidate = folder + (folder.endsWithChar ('\\') ? "" : "\\") + ".marlo-" +
                                   juce::String::toHexString (juce::Random::getSystemRandom().nextInt());
            file = WindowsSystem::open (candidate, GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
            if (file.isOpen())
            {
                path = candidate;
                return true;
            }
            if (GetLastError() != ERROR_FILE_EXISTS)
                return false;
        }
        return false;
    }

    const juce::String folder;
    juce::String path;
    FileDescriptor file;
    bool kept = false;

    JUCE_DECLARE_NON_COPYABLE (Sibling)
};

bool isThere (const std::wstring& path)
{
    return GetFileAttributesW (path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

/** ReplaceFileW writes nothing through to the disk: the file in the target's place is flushed
    before success is reported. */
juce::Result flushPlaced (const juce::String& path)
{
    auto placed = WindowsSystem::open (path, GENERIC_WRITE, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
    if (!placed.isOpen())
        return WindowsSystem::lastFailure();
    return flushAndClose (placed);
}

/** Puts the written sibling in the place of an existing target. The old file goes to a backup name
    beside it first, so that a replace that stops half way (the old file moved away, the new one
    still under its own name) leaves both, and the target is given one of them again. */
juce::Result replaceExisting (Sibling& sibling, const juce::String& targetPath, bool& inPlace)
{
    const auto target = WindowsSystem::wide (targetPath);
    const auto replacement = WindowsSystem::wide (sibling.path);
    const auto backup = WindowsSystem::wide (sibling.path + ".old");
    if (ReplaceFileW (target.c_str(), replacement.c_str(), backup.c_str(), 0, nullptr, nullptr))
    {
        sibling.kept = true;
        DeleteFileW (backup.c_str());
        return flushPlaced (targetPath);
    }
    auto error = GetLastError();
    // A file the user may write but not delete (no delete right on it or its folder).
    if (error == ERROR_ACCESS_DENIED && isThere (target) && !isThere (backup))
    {
        inPlace = true;
        return WindowsSystem::failure (error);
    }
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
    {
        // The new file kept its name, whether the old one did or went to the backup name.
        if (MoveFileExW (replacement.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        {
            sibling.kept = true;
            DeleteFileW (backup.c_str());
            return juce::Result::ok();
        }
        error = GetLastError();
    }
    // The target holds the old content again before the new file may go.
    if (!isThere (target) && isThere (backup) &&
        !MoveFileExW (backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
    {
        sibling.kept = true;
        return juce::Result::fail (WindowsSystem::failure (error).getErrorMessage() +
                                   "; the old content is in " + sibling.path + ".old and the new in " +
                                   sibling.path);
    }
    if (!isThere (target))
        sibling.kept = true;
    return WindowsSystem::failure (error);
}

/** `inPlace` tells a failure that rewriting the file in place avoids. */
juce::Result replaceThroughSibling (const SymbolicLinks::Location& where, bool exists, const void* data,
                                    size_t numBytes, bool& inPlace)
{
    Sibling sibling (where.folderPath);
    if (!sibling.create())
    {
        // A folder that takes no new file may still let the file in it be written.
        inPlace = exists && GetLastError() == ERROR_ACCESS_DENIED;
        return WindowsSystem::lastFailure();
    }
    if (const auto written = sibling.file.writeAll (data, numBytes); written.failed())
        return written;
    if (const auto flushed = flushAndClose (sibling.file); flushed.failed())
        return flushed;

    // An existing file keeps its security, attributes and creation time; a new one takes its place
    // with the rename written through to the disk before this returns.
    if (exists)
        return replaceExisting (sibling, where.path(), inPlace);
    if (!MoveFileExW (WindowsSystem::wide (sibling.path).c_str(), WindowsSystem::wide (where.path()).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return WindowsSystem::lastFailure();
    sibling.kept = true;
    return juce::Result::ok();
}
} // namespace

juce::Result AtomicFile::replaceContent (const juce::File& file, const void* data, size_t numBytes)
{
    const auto where = SymbolicLinks::locate (file.getFullPathName());
    if (!where.found())
        return where.result();
    const FileLock lock (where);
    if (lock.getStatus().failed())
        return lock.getStatus();

    const auto path = where.path();
    auto existing = WindowsSystem::open (path, FILE_READ_ATTRIBUTES, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
    const auto exists = existing.isOpen();
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return WindowsSystem::lastFailure();

    BY_HANDLE_FILE_INFORMATION information{};
    if (exists)
    {
        if (!GetFileInformationByHandle (WindowsSystem::handleOf (existing), &information))
            return WindowsSystem::lastFailure();
        // A link that took the file's place since it was found is not followed.
        if (WindowsSystem::isLink (WindowsSystem::handleOf (existing)))
            return WindowsSystem::failure (ERROR_CANT_RESOLVE_FILENAME);
        if (const auto refused = refusal (path, existing, information); refused.failed())
            return refused;
        // The file's other names would keep the old content.
        if (information.nNumberOfLinks > 1)
            return rewriteInPlace (path, data, numBytes);
        // Replacing it needs nobody to hold it open without sharing it; this look has ended.
        existing.close();
    }

    bool inPlace = false;
    const auto replaced = replaceThroughSibling (where, exists, data, numBytes, inPlace);
    return inPlace ? rewriteInPlace (path, data, numBytes) : replaced;
}
