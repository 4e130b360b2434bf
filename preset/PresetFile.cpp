#include "preset/PresetFile.h"

#include "platform/AtomicFile.h"
#include "platform/FileDescriptor.h"
#include "preset/SysExReader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
struct Kind
{
    mode_t type;
    const char* refusal;
};

/** What each kind of file that is not a regular file is called when it is refused. */
const Kind refusedKinds[]{{S_IFDIR, "is a folder, not a preset file"},
                          {S_IFIFO, "is a pipe, not a preset file"},
                          {S_IFCHR, "is a device, not a preset file"},
                          {S_IFBLK, "is a device, not a preset file"},
                          {S_IFSOCK, "is a socket, not a preset file"}};

/** Why a file with this status is not read, if it is not. */
juce::Result refusal (const struct stat& status)
{
    if (!S_ISREG (status.st_mode))
    {
        for (const auto& kind : refusedKinds)
            if ((status.st_mode & S_IFMT) == kind.type)
                return juce::Result::fail (kind.refusal);
        return juce::Result::fail ("is not a regular file");
    }
    if (status.st_size > PresetFile::largestFile)
        return juce::Result::fail (
            "the file holds " + juce::String (static_cast<juce::int64> (status.st_size)) +
            " bytes; a preset file holds at most " + juce::String (PresetFile::largestFile));
    return juce::Result::ok();
}

/** Reads up to the size the file had when it was checked: a file that grows meanwhile cannot
    make the reader take more. */
juce::Result readChecked (int handle, size_t size, juce::MemoryBlock& content)
{
    content.setSize (size);
    size_t done = 0;
    while (done < size)
    {
        const auto got = ::read (handle, static_cast<char*> (content.getData()) + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return FileDescriptor::failure (errno);
        if (got == 0)
            break;
        done += static_cast<size_t> (got);
    }
    content.setSize (done);
    return juce::Result::ok();
}
} // namespace

juce::Result PresetFile::readContent (const juce::File& file, juce::MemoryBlock& content)
{
    const auto path = file.getFullPathName();
    struct stat status
    {
    };
    if (::stat (path.toRawUTF8(), &status) != 0)
        return errno == ENOENT ? juce::Result::fail ("no such file") : FileDescriptor::failure (errno);
    if (const auto refused = refusal (status); refused.failed())
        return refused;

    // The path may name something else by now: opening without waiting keeps a pipe put there
    // from blocking, and the opened file is checked again.
    FileDescriptor opened (::open (path.toRawUTF8(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!opened.isOpen() || ::fstat (opened.get(), &status) != 0)
        return FileDescriptor::failure (errno);
    if (const auto refused = refusal (status); refused.failed())
        return refused;
    return readChecked (opened.get(), static_cast<size_t> (status.st_size), content);
}

juce::Result PresetFile::read (const juce::File& file, PresetCodec::Image& image, Reading* reading)
{
    Reading local;
    auto& details = reading != nullptr ? *reading : local;
    details = {};
    juce::MemoryBlock content;
    const auto read = readContent (file, content);
    details.unreadable = read.failed();
    if (read.failed())
        return read;

    if (PresetCodec::isPresetFile (content.getData(), content.getSize()))
    {
        details.presets = 1;
        return PresetCodec::decodeFile (content.getData(), content.getSize(), image);
    }
    details.foreign = true;
    SysExReader::Summary summary;
    const auto found = SysExReader::read (content.getData(), content.getSize(), image, &summary);
    details.presets = summary.presets;
    return found;
}

bool PresetFile::isForeign (const juce::File& file)
{
    juce::MemoryBlock content;
    return readContent (file, content).wasOk() &&
           !PresetCodec::isPresetFile (content.getData(), content.getSize());
}

bool PresetFile::mayBeForeign (const juce::File& file)
{
    juce::MemoryBlock content;
    return file.exists() && (readContent (file, content).failed() ||
                             !PresetCodec::isPresetFile (content.getData(), content.getSize()));
}

juce::Result PresetFile::write (const juce::File& file, const PresetCodec::Image& image)
{
    const auto content = PresetCodec::encodeFile (image);
    return AtomicFile::replaceContent (file, content.getData(), content.getSize());
}
