#pragma once

#include "platform/FileDescriptor.h"

#include <juce_core/juce_core.h>
#include <optional>

/** Which file a name or an open file is, whatever path reached it: two names are one file when
    their identities are equal (on Linux, the device and the inode).
*/
struct FileIdentity
{
    juce::uint64 device = 0;
    juce::uint64 file = 0;

    /** The file held open; empty when the system cannot say. */
    static std::optional<FileIdentity> of (const FileDescriptor& opened);

    /** Whether two names reach one file, through links (followed as the system follows them) or
        other spellings of its path; false when either reaches nothing. */
    static bool sameFile (const juce::File& first, const juce::File& second);

    bool operator== (const FileIdentity& other) const { return device == other.device && file == other.file; }
    bool operator!= (const FileIdentity& other) const { return !operator== (other); }
    bool operator<(const FileIdentity& other) const
    {
        return device != other.device ? device < other.device : file < other.file;
    }
};
