#include "platform/FileIdentity.h"

#include <sys/stat.h>

namespace
{
FileIdentity identityOf (const struct stat& status)
{
    return {static_cast<juce::uint64> (status.st_dev), static_cast<juce::uint64> (status.st_ino)};
}
} // namespace

std::optional<FileIdentity> FileIdentity::of (const FileDescriptor& opened)
{
    struct stat status
    {
    };
    if (::fstat (opened.get(), &status) != 0)
        return std::nullopt;
    return identityOf (status);
}

bool FileIdentity::sameFile (const juce::File& first, const juce::File& second)
{
    struct stat a = {};
    struct stat b = {};
    return ::stat (first.getFullPathName().toRawUTF8(), &a) == 0 &&
           ::stat (second.getFullPathName().toRawUTF8(), &b) == 0 && identityOf (a) == identityOf (b);
}
