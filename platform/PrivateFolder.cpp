#include "platform/PrivateFolder.h"

#include <utility>

juce::Result PrivateFolder::lock (const juce::String& name, FileDescriptor& held) const
{
    FileDescriptor opened;
    bool taken = false;
    auto result = openLockFile (name, opened);
    if (result.wasOk())
        result = opened.tryLock (taken);
    if (taken)
        held = std::move (opened);
    return result;
}
