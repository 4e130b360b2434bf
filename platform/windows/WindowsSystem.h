#pragma once

#include "platform/FileDescriptor.h"

#include <juce_core/juce_core.h>
#include <memory>
#include <string>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <aclapi.h>

/** What the Windows parts of platform/ share: the system's handles held by FileDescriptor (a C
    runtime descriptor over each handle, so that the shared code sees the same `int` as on
    Linux), wide-character paths, the system's reasons, and who the user is to the system's
    security. Private to this folder: the build shows other layers only the headers beside
    platform/, so the files here include this one by its own name.
*/
class WindowsSystem final
{
public:
    WindowsSystem() = delete;

    /** Closes a handle that no FileDescriptor holds (events, security descriptors' owners). */
    struct HandleCloser
    {
        void operator() (HANDLE handle) const noexcept;
    };
    using OwnedHandle = std::unique_ptr<void, HandleCloser>;

    /** A security descriptor that lets the user alone in, for what the programs make for the
        user (private folders, the hand-over's pipe). */
    class UserOnly
    {
    public:
        /** `inherited` passes the user's access on to what is made inside (a folder). */
        explicit UserOnly (bool inherited);
        ~UserOnly();
        /** Null when the descriptor could not be made: nothing is made then. */
        SECURITY_ATTRIBUTES* get() noexcept { return descriptor != nullptr ? &attributes : nullptr; }

    private:
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        SECURITY_ATTRIBUTES attributes{};

        JUCE_DECLARE_NON_COPYABLE (UserOnly)
    };

    static constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

    /** The system's handle of an open file; INVALID_HANDLE_VALUE for a closed one. */
    static HANDLE handleOf (const FileDescriptor& opened);
    /** Holds the handle in a FileDescriptor; closed (and the last error set) when it cannot be. */
    static FileDescriptor adopt (HANDLE handle);

    static std::wstring wide (const juce::String& text);
    /** CreateFileW on a path, its result held; check isOpen() and GetLastError(). */
    static FileDescriptor open (const juce::String& path, DWORD access, DWORD disposition, DWORD flags,
                                SECURITY_ATTRIBUTES* security = nullptr, DWORD share = shareAll);

    /** Whether the open entry is a link: a symbolic link or a junction, which name another entry.
        Any other reparse point (a cloud file's placeholder, a deduplicated or compressed file) is
        the file itself, served by the filter that owns it. One whose kind cannot be read counts
        as a link, so that nothing is followed unseen. */
    static bool isLink (HANDLE handle);

    /** Opens an existing entry without following a link at the end of `path` (isLink() tells
        one), and any other reparse point through the filter that serves it, as an ordinary open
        does; the handle has FILE_READ_ATTRIBUTES besides `access`. Closed (and the last error
        set) when it cannot be, or when something else took the name in between. */
    static FileDescriptor openUnfollowed (const juce::String& path, DWORD access, DWORD flags = 0);

    /** The system's text for an error code. */
    static juce::Result failure (DWORD error);
    static juce::Result lastFailure();
    /** Whether an error says that the file or a folder on its way is missing. */
    static bool isMissing (DWORD error) noexcept;

    /** The user the process runs as, and the owner its new objects get (the same, or the
        administrators for an elevated process). */
    static PSID user();
    static PSID defaultOwner();
    static juce::String userText();

    /** Why the folder or pipe held by `handle` is not the user's alone, if it is not: owned by
        somebody else, writable by another (or, with `othersMayRead` false, open to another).
        The system and the administrators, who may do anything anyway, do not count. */
    static juce::Result privacyOf (HANDLE handle, SE_OBJECT_TYPE type, bool othersMayRead);

    /** The path the system itself gives an open file, without "\\?\". */
    static juce::String finalPath (HANDLE handle);
};
