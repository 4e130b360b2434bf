#pragma once

#include "platform/FileDescriptor.h"
#include "platform/PrivateFolder.h"

#include <juce_core/juce_core.h>
#include <memory>

/** One launch's request to the running editor, as a file in the hand-over's private folder.

    The launch and the running editor may both believe they should open the launch's file: the
    launch once it has waited long enough, the editor whenever its message reaches it, however
    late. Time cannot settle that, as a stopped editor's clocks stop with it. The file settles it:
    the editor takes the request by removing the file, the launch gives it up by removing it too,
    and the system lets exactly one of the two removals succeed.

    While it waits the launch holds a lock on its file, so a file whose lock is free belongs to a
    launch that died, and may be swept away without deciding anybody's race.
*/
class HandOverRequest
{
public:
    ~HandOverRequest();

    /** A new request in the folder, locked; empty when no file can be made there. The folder
        must outlive the request. */
    static std::unique_ptr<HandOverRequest> create (const PrivateFolder& folder);

    /** The running editor's step: true when it won the request, which is then its to open. */
    static bool take (const PrivateFolder& folder, juce::uint64 id);

    /** Removes the requests of launches that are no longer running. */
    static void removeAbandoned (const PrivateFolder& folder);

    /** The name of the request's file in the folder. */
    static juce::String nameFor (juce::uint64 id);

    /** The launch's step: true when it gave the request up before the editor took it, so the
        launch opens its file itself; false when the editor has it. */
    bool giveUp();

    juce::uint64 getId() const noexcept { return id; }

    static constexpr const char* extension = ".request";

private:
    HandOverRequest (const PrivateFolder& folder, juce::uint64 id, FileDescriptor locked);

    const PrivateFolder& folder;
    const juce::uint64 id;
    const FileDescriptor lock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HandOverRequest)
};
