#include "platform/NewFile.h"

#include "WindowsSystem.h"
#include "platform/FileDescriptor.h"

namespace
{
bool isTakenError (DWORD error)
{
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
}

/** The written file beside the target; it is removed again unless it took the target's name. */
struct Written
{
    ~Written()
    {
        file.close();
        if (!placed && path.isNotEmpty())
            DeleteFileW (WindowsSystem::wide (path).c_str());
    }

    juce::Result write (const juce::String& folder, const void* data, size_t numBytes)
    {
        for (int attempt = 0; attempt < 16; ++attempt)
        {
            const auto candidate = folder + (folder.endsWithChar ('\\') ? "" : "\\") + ".marlo-" +
                                   juce::String::toHexString (juce::Random::getSystemRandom().nextInt());
            file = WindowsSystem::open (candidate, GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
            if (!file.isOpen())
            {
                if (GetLastError() != ERROR_FILE_EXISTS)
                    return WindowsSystem::lastFailure();
                continue;
            }
            path = candidate;
            if (const auto written = file.writeAll (data, numBytes); written.failed())
                return written;
            if (!FlushFileBuffers (WindowsSystem::handleOf (file)))
                return WindowsSystem::lastFailure();
            return file.close();
        }
        return WindowsSystem::failure (ERROR_FILE_EXISTS);
    }

    juce::String path;
    FileDescriptor file;
    bool placed = false;
};
} // namespace

juce::Result NewFile::create (const juce::File& target, const void* data, size_t numBytes, bool& taken)
{
    taken = false;
    const auto targetPath = target.getFullPathName();
    if (GetFileAttributesW (WindowsSystem::wide (targetPath).c_str()) != INVALID_FILE_ATTRIBUTES)
    {
        taken = true;
        return WindowsSystem::failure (ERROR_FILE_EXISTS);
    }
    Written written;
    if (const auto result = written.write (target.getParentDirectory().getFullPathName(), data, numBytes);
        result.failed())
        return result;
    // Without MOVEFILE_REPLACE_EXISTING the move fails on a name that is taken meanwhile.
    if (!MoveFileExW (WindowsSystem::wide (written.path).c_str(), WindowsSystem::wide (targetPath).c_str(),
                      MOVEFILE_WRITE_THROUGH))
    {
        const auto error = GetLastError();
        taken = isTakenError (error);
        return WindowsSystem::failure (error);
    }
    written.placed = true;
    return juce::Result::ok();
}
