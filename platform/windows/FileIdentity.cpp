#include "platform/FileIdentity.h"

#include "WindowsSystem.h"

namespace
{
std::optional<FileIdentity> identityOf (HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle (handle, &information))
        return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber,
                        ((juce::uint64)information.nFileIndexHigh << 32) | information.nFileIndexLow};
}

/** The file a name reaches, its links followed as the system follows them. */
std::optional<FileIdentity> identityOf (const juce::File& file)
{
    const auto opened = WindowsSystem::open (file.getFullPathName(), FILE_READ_ATTRIBUTES, OPEN_EXISTING,
                                             FILE_FLAG_BACKUP_SEMANTICS);
    return opened.isOpen() ? identityOf (WindowsSystem::handleOf (opened)) : std::nullopt;
}
} // namespace

std::optional<FileIdentity> FileIdentity::of (const FileDescriptor& opened)
{
    return identityOf (WindowsSystem::handleOf (opened));
}

bool FileIdentity::sameFile (const juce::File& first, const juce::File& second)
{
    const auto a = identityOf (first);
    return a.has_value() && a == identityOf (second);
}
