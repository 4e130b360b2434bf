#include "platform/HandOverRequest.h"

namespace
{
constexpr int attemptsToCreate = 16;

juce::uint64 randomId()
{
    juce::Random random;
    random.setSeedRandomly();
    return (juce::uint64)random.nextInt64();
}

void removeIfAbandoned (const PrivateFolder& folder, const juce::String& name)
{
    FileDescriptor opened;
    if (folder.openRegular (name, opened).failed())
        return;

    // A running launch holds the lock for as long as it waits; the name may have gone to another
    // file since it was opened.
    bool taken = false;
    if (opened.tryLock (taken).wasOk() && taken && folder.stillNames (name, opened))
        folder.remove (name);
}
} // namespace

HandOverRequest::HandOverRequest (const PrivateFolder& requestFolder, juce::uint64 requestId,
                                  FileDescriptor locked)
    : folder (requestFolder), id (requestId), lock (std::move (locked))
{
}

HandOverRequest::~HandOverRequest() = default;

juce::String HandOverRequest::nameFor (juce::uint64 requestId)
{
    return juce::String::toHexString ((juce::int64)requestId).paddedLeft ('0', 16) + extension;
}

std::unique_ptr<HandOverRequest> HandOverRequest::create (const PrivateFolder& folder)
{
    for (int attempt = 0; attempt < attemptsToCreate; ++attempt)
    {
        const auto requestId = randomId();
        const auto name = nameFor (requestId);
        FileDescriptor created;
        bool nameTaken = false;

        if (folder.create (name, created, nameTaken).failed())
        {
            if (nameTaken)
                continue;

            return nullptr;
        }

        // A sweep may have removed the file between its creation and its lock.
        if (created.lock().wasOk() && folder.stillNames (name, created))
            return std::unique_ptr<HandOverRequest> (
                new HandOverRequest (folder, requestId, std::move (created)));
    }

    return nullptr;
}

bool HandOverRequest::take (const PrivateFolder& folder, juce::uint64 requestId)
{
    return folder.remove (nameFor (requestId));
}

bool HandOverRequest::giveUp()
{
    return folder.remove (nameFor (id));
}

void HandOverRequest::removeAbandoned (const PrivateFolder& folder)
{
    for (const auto& name : folder.names())
        if (name.endsWith (extension))
            removeIfAbandoned (folder, name);
}
