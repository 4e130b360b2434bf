#include "WindowsSystem.h"

#include <fcntl.h>
#include <io.h>
#include <sddl.h>

namespace
{
/** One piece of the process's token: the user, or the owner its new objects get. */
std::vector<BYTE> tokenSid (TOKEN_INFORMATION_CLASS kind)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken (GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    const WindowsSystem::OwnedHandle held (token);
    DWORD size = 0;
    GetTokenInformation (token, kind, nullptr, 0, &size);
    std::vector<BYTE> information (size);
    if (size == 0 || !GetTokenInformation (token, kind, information.data(), size, &size))
        return {};
    // TOKEN_USER and TOKEN_OWNER both start with the SID's address.
    const auto sid = kind == TokenUser ? reinterpret_cast<TOKEN_USER*> (information.data())->User.Sid
                                       : reinterpret_cast<TOKEN_OWNER*> (information.data())->Owner;
    const auto* bytes = static_cast<const BYTE*> (sid);
    return std::vector<BYTE> (bytes, bytes + GetLengthSid (sid));
}

bool isWellKnown (PSID sid, WELL_KNOWN_SID_TYPE type)
{
    return IsWellKnownSid (sid, type) != FALSE;
}

/** Who may do anything to the user's files whatever their security says. */
bool isTrusted (PSID sid)
{
    return EqualSid (sid, WindowsSystem::user()) || EqualSid (sid, WindowsSystem::defaultOwner()) ||
           isWellKnown (sid, WinLocalSystemSid) || isWellKnown (sid, WinBuiltinAdministratorsSid) ||
           isWellKnown (sid, WinCreatorOwnerSid);
}

/** An entry that only takes access away. */
bool isDenial (BYTE type)
{
    return type == ACCESS_DENIED_ACE_TYPE || type == ACCESS_DENIED_OBJECT_ACE_TYPE ||
           type == ACCESS_DENIED_CALLBACK_ACE_TYPE || type == ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE;
}

constexpr ACCESS_MASK writing = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD |
                                FILE_WRITE_ATTRIBUTES | FILE_WRITE_EA | DELETE | WRITE_DAC | WRITE_OWNER |
                                GENERIC_WRITE | GENERIC_ALL;
constexpr ACCESS_MASK reading = FILE_READ_DATA | FILE_EXECUTE | GENERIC_READ | GENERIC_EXECUTE;
} // namespace

void WindowsSystem::HandleCloser::operator() (HANDLE handle) const noexcept
{
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
        CloseHandle (handle);
}

WindowsSystem::UserOnly::UserOnly (bool inherited)
{
    const auto text = "O:" + userText() + "D:P(A;" + (inherited ? "OICI" : "") + ";GA;;;" + userText() + ")";
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW (wide (text).c_str(), SDDL_REVISION_1,
                                                               &descriptor, nullptr))
        descriptor = nullptr;
    attributes.nLength = sizeof (attributes);
    attributes.lpSecurityDescriptor = descriptor;
    attributes.bInheritHandle = FALSE;
}

WindowsSystem::UserOnly::~UserOnly()
{
    if (descriptor != nullptr)
        LocalFree (descriptor);
}

HANDLE WindowsSystem::handleOf (const FileDescriptor& opened)
{
    if (!opened.isOpen())
        return INVALID_HANDLE_VALUE;
    return reinterpret_cast<HANDLE> (_get_osfhandle (opened.get()));
}

FileDescriptor WindowsSystem::adopt (HANDLE handle)
{
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return {};
    const auto descriptor = _open_osfhandle (reinterpret_cast<intptr_t> (handle), _O_BINARY);
    if (descriptor < 0)
    {
        CloseHandle (handle);
        SetLastError (ERROR_TOO_MANY_OPEN_FILES);
        return {};
    }
    return FileDescriptor (descriptor);
}

std::wstring WindowsSystem::wide (const juce::String& text)
{
    return std::wstring (text.toWideCharPointer());
}

FileDescriptor WindowsSystem::open (const juce::String& path, DWORD access, DWORD disposition, DWORD flags,
                                    SECURITY_ATTRIBUTES* security, DWORD share)
{
    return adopt (CreateFileW (wide (path).c_str(), access, share, security, disposition, flags, nullptr));
}

bool WindowsSystem::isLink (HANDLE handle)
{
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!GetFileInformationByHandleEx (handle, FileAttributeTagInfo, &tag, sizeof (tag)))
        return true;
    return (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           IsReparseTagNameSurrogate (tag.ReparseTag);
}

FileDescriptor WindowsSystem::openUnfollowed (const juce::String& path, DWORD access, DWORD flags)
{
    access |= FILE_READ_ATTRIBUTES;
    auto entry = open (path, access, OPEN_EXISTING, flags | FILE_FLAG_OPEN_REPARSE_POINT);
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!entry.isOpen() || isLink (handleOf (entry)) ||
        !GetFileInformationByHandleEx (handleOf (entry), FileAttributeTagInfo, &tag, sizeof (tag)) ||
        (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return entry;
    // Opened as it is stored, such a file may read as empty or not be written through its filter.
    auto served = open (path, access, OPEN_EXISTING, flags);
    BY_HANDLE_FILE_INFORMATION stored{}, found{};
    if (!served.isOpen() || !GetFileInformationByHandle (handleOf (entry), &stored) ||
        !GetFileInformationByHandle (handleOf (served), &found))
        return {};
    if (stored.dwVolumeSerialNumber != found.dwVolumeSerialNumber ||
        stored.nFileIndexHigh != found.nFileIndexHigh || stored.nFileIndexLow != found.nFileIndexLow)
    {
        SetLastError (ERROR_CANT_RESOLVE_FILENAME);
        return {};
    }
    return served;
}

juce::Result WindowsSystem::failure (DWORD error)
{
    wchar_t* text = nullptr;
    const auto length = FormatMessageW (FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<LPWSTR> (&text), 0, nullptr);
    juce::String message = length > 0 && text != nullptr
                               ? juce::String (text, length).trim()
                               : "system error " + juce::String ((juce::int64)error);
    if (text != nullptr)
        LocalFree (text);
    // The system's sentences end in a full stop; the programs add to them.
    return juce::Result::fail (message.trimCharactersAtEnd ("."));
}

juce::Result WindowsSystem::lastFailure()
{
    return failure (GetLastError());
}

bool WindowsSystem::isMissing (DWORD error) noexcept
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

PSID WindowsSystem::user()
{
    static auto sid = tokenSid (TokenUser);
    return sid.empty() ? nullptr : sid.data();
}

PSID WindowsSystem::defaultOwner()
{
    static auto sid = tokenSid (TokenOwner);
    return sid.empty() ? user() : sid.data();
}

juce::String WindowsSystem::userText()
{
    static const juce::String text = []
    {
        wchar_t* converted = nullptr;
        if (user() == nullptr || !ConvertSidToStringSidW (user(), &converted))
            return juce::String();
        juce::String result (converted);
        LocalFree (converted);
        return result;
    }();
    return text;
}

juce::Result WindowsSystem::privacyOf (HANDLE handle, SE_OBJECT_TYPE type, bool othersMayRead)
{
    PSID owner = nullptr;
    PACL access = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const auto error = GetSecurityInfo (handle, type, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                        &owner, nullptr, &access, nullptr, &descriptor);
    if (error != ERROR_SUCCESS)
        return failure (error);
    const std::unique_ptr<void, decltype (&LocalFree)> held (descriptor, &LocalFree);

    if (owner == nullptr || user() == nullptr ||
        !(EqualSid (owner, user()) || EqualSid (owner, defaultOwner())))
        return juce::Result::fail ("owned by another user");
    // No list at all lets everybody do everything.
    if (access == nullptr)
        return juce::Result::fail ("others may write to it");

    for (DWORD index = 0; index < access->AceCount; ++index)
    {
        void* entry = nullptr;
        if (!GetAce (access, index, &entry))
            return lastFailure();
        const auto* header = static_cast<const ACE_HEADER*> (entry);
        if ((header->AceFlags & INHERIT_ONLY_ACE) != 0 || isDenial (header->AceType))
            continue;
        // A conditional entry lets in at most whom a plain one of the same mask would. Other kinds
        // (for an object's parts, compound ones, and any newer) are not read: they may let
        // anybody in.
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_ALLOWED_CALLBACK_ACE_TYPE)
            return juce::Result::fail ("its access list has an entry of a kind not checked");
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*> (entry);
        if (isTrusted (reinterpret_cast<PSID> (&allowed->SidStart)))
            continue;
        if ((allowed->Mask & writing) != 0)
            return juce::Result::fail ("others may write to it");
        if (!othersMayRead && (allowed->Mask & reading) != 0)
            return juce::Result::fail ("others may enter it");
    }
    return juce::Result::ok();
}

juce::String WindowsSystem::finalPath (HANDLE handle)
{
    std::vector<wchar_t> buffer (MAX_PATH + 1);
    for (;;)
    {
        const auto length = GetFinalPathNameByHandleW (handle, buffer.data(), (DWORD)buffer.size(),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < buffer.size())
            break;
        buffer.resize (length + 1);
    }
    const juce::String path (buffer.data());
    if (path.startsWith ("\\\\?\\UNC\\"))
        return "\\\\" + path.substring (8);
    return path.startsWith ("\\\\?\\") ? path.substring (4) : path;
}
