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
    auto file = WindowsSystem::open (path, GENERIC_WRITE, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
    if (!file.isOpen())
        return WindowsSystem::lastFailure();
    if (GetFileType (WindowsSystem::handleOf (file)) != FILE_TYPE_DISK)
        return notRegular();
    if (const auto written = file.writeAll (data, numBytes); written.failed())
        return written;
    if (!SetEndOfFile (WindowsSystem::handleOf (file)))
        return WindowsSystem::lastFailure();
    return flushAndClose (file);
}

/** The new file beside the target; it is removed again unless it took the target's place. */
struct Sibling
{
    explicit Sibling (juce::String folderPath) : folder (std::move (folderPath)) {}
    ~Sibling()
    {
        file.close();
        if (!placed && path.isNotEmpty())
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
    bool placed = false;

    JUCE_DECLARE_NON_COPYABLE (Sibling)
};

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

    const auto target = WindowsSystem::wide (where.path());
    const auto replacement = WindowsSystem::wide (sibling.path);
    // An existing file keeps its security, attributes and creation time; a new one takes its place
    // with the rename written through to the disk before this returns.
    const auto replaced =
        exists ? ReplaceFileW (target.c_str(), replacement.c_str(), nullptr, 0, nullptr, nullptr)
               : MoveFileExW (replacement.c_str(), target.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced)
        return WindowsSystem::lastFailure();
    sibling.placed = true;
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
        if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
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
