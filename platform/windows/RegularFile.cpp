#include "platform/RegularFile.h"

#include "WindowsSystem.h"
#include "platform/SymbolicLinks.h"

namespace
{
juce::Result missing()
{
    return juce::Result::fail ("no such file");
}

juce::Result refusedAs (const char* kind, const juce::String& what)
{
    return juce::Result::fail ("is " + juce::String (kind) + ", not " + what);
}

/** Why the open file is not read, if it is not; `size` is its length when it is read. */
juce::Result refusal (HANDLE handle, juce::int64 largest, const juce::String& what, juce::int64& size)
{
    switch (GetFileType (handle))
    {
        case FILE_TYPE_DISK:
            break;
        case FILE_TYPE_PIPE:
            return refusedAs ("a pipe", what);
        case FILE_TYPE_CHAR:
            return refusedAs ("a device", what);
        default:
            return juce::Result::fail ("is not a regular file");
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle (handle, &information))
        return WindowsSystem::lastFailure();
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return refusedAs ("a folder", what);
    if (WindowsSystem::isLink (handle))
        return juce::Result::fail ("is not a regular file");
    size = ((juce::int64)information.nFileSizeHigh << 32) | information.nFileSizeLow;
    if (size > largest)
        return juce::Result::fail ("the file holds " + juce::String (size) + " bytes; " + what +
                                   " holds at most " + juce::String (largest));
    return juce::Result::ok();
}
} // namespace

juce::Result RegularFile::read (const juce::File& file, juce::int64 largest, const juce::String& what,
                                juce::MemoryBlock& content)
{
    const auto where = SymbolicLinks::locate (file.getFullPathName());
    if (!where.found())
        return WindowsSystem::isMissing ((DWORD)where.error) ? missing() : where.result();

    // A link put in the way since it was found is not followed; what is opened is checked before
    // a byte of it is read.
    const auto opened =
        WindowsSystem::openUnfollowed (where.path(), GENERIC_READ, FILE_FLAG_BACKUP_SEMANTICS);
    if (!opened.isOpen())
        return WindowsSystem::isMissing (GetLastError()) ? missing() : WindowsSystem::lastFailure();
    juce::int64 size = 0;
    if (const auto refused = refusal (WindowsSystem::handleOf (opened), largest, what, size);
        refused.failed())
        return refused;
    return opened.readUpTo ((size_t)size, content);
}
