#include "platform/LocalSocket.h"

#include "WindowsSystem.h"

#include <cwctype>
#include <vector>

namespace
{
/** The longest name a pipe may have. */
constexpr size_t longestPipeName = 256;
/** What each end's buffer holds: one hand-over message and then some. */
constexpr DWORD bufferBytes = 80 * 1024;
/** How often a wait looks at connected ends, which have nothing to wait on. */
constexpr int lookEveryMs = 5;

/** The pipe that stands for a socket file: the path spelled out, each character a pipe's name
    may not hold (or that could make two paths one) as ~XXXX, so every path has a pipe of its own.
    A path too long for that keeps the start of its spelling and ends in ~h and a hash of the
    whole path, which no spelled-out name ends in (~ is followed by four hex digits there). */
std::wstring pipeName (const juce::File& file)
{
    const std::wstring prefix (L"\\\\.\\pipe\\");
    const auto path = WindowsSystem::wide (file.getFullPathName());
    std::wstring name = prefix;
    for (const auto character : path)
    {
        if (std::iswalnum (character) || character == L'-' || character == L'.' || character == L'_')
        {
            name += character;
            continue;
        }
        name += WindowsSystem::wide ("~" + juce::String::toHexString ((int)character).paddedLeft ('0', 4));
    }
    if (name.size() <= longestPipeName)
        return name;
    // FNV-1a over the path's UTF-16 units.
    juce::uint64 hash = 14695981039346656037ull;
    for (const auto unit : path)
    {
        hash ^= (juce::uint64)unit;
        hash *= 1099511628211ull;
    }
    const auto ending =
        WindowsSystem::wide ("~h" + juce::String::toHexString ((juce::int64)hash).paddedLeft ('0', 16));
    return name.substr (0, longestPipeName - ending.size()) + ending;
}

/** One read or write on a pipe opened for overlapped use, waited for at most `waitMs`. */
bool transfer (HANDLE pipe, bool write, void* data, DWORD size, DWORD& done, int waitMs)
{
    done = 0;
    const WindowsSystem::OwnedHandle event (CreateEventW (nullptr, TRUE, FALSE, nullptr));
    if (event == nullptr)
        return false;
    OVERLAPPED operation{};
    operation.hEvent = event.get();
    const auto started = write ? WriteFile (pipe, data, size, nullptr, &operation)
                               : ReadFile (pipe, data, size, nullptr, &operation);
    if (!started && GetLastError() != ERROR_IO_PENDING)
        return false;
    if (!started && WaitForSingleObject (event.get(), (DWORD)juce::jmax (0, waitMs)) != WAIT_OBJECT_0)
        CancelIoEx (pipe, &operation);
    return GetOverlappedResult (pipe, &operation, &done, TRUE) != FALSE && done > 0;
}
} // namespace

/** A pipe's end: a connection (the launch's or the one the running instance accepted), or a
    listener, which keeps a row of pipe instances waiting for launches to connect. */
struct LocalSocket::Endpoint
{
    /** One instance of the listener's pipe, waiting for a launch. */
    struct Waiting
    {
        FileDescriptor pipe;
        OVERLAPPED connecting{};
        bool connected = false;

        bool isDone() const { return connected || HasOverlappedIoCompleted (&connecting); }
    };

    ~Endpoint()
    {
        // The system writes into each OVERLAPPED until its operation ends.
        for (auto& waiting : instances)
        {
            DWORD ignored = 0;
            CancelIoEx (WindowsSystem::handleOf (waiting->pipe), &waiting->connecting);
            GetOverlappedResult (WindowsSystem::handleOf (waiting->pipe), &waiting->connecting, &ignored,
                                 TRUE);
        }
    }

    /** Instances up to the number wanted, so that a launch finds one waiting; one that could not
        be made is tried again at the next look. */
    void addMissingInstances()
    {
        while (instances.size() < wantedInstances && addInstance (false).wasOk())
        {
        }
    }

    /** A new instance of the pipe, for the user alone, that waits for a launch. */
    juce::Result addInstance (bool first)
    {
        WindowsSystem::UserOnly security (false);
        if (security.get() == nullptr)
            return WindowsSystem::lastFailure();
        auto waiting = std::make_unique<Waiting>();
        // Remote machines are refused; the first instance fails when the name exists already,
        // whoever made it.
        waiting->pipe = WindowsSystem::adopt (CreateNamedPipeW (
            name.c_str(),
            PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0),
            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
            PIPE_UNLIMITED_INSTANCES, bufferBytes, bufferBytes, 0, security.get()));
        if (!waiting->pipe.isOpen())
            return WindowsSystem::lastFailure();
        waiting->connecting.hEvent = connected.get();
        if (!ConnectNamedPipe (WindowsSystem::handleOf (waiting->pipe), &waiting->connecting))
        {
            const auto error = GetLastError();
            if (error == ERROR_PIPE_CONNECTED)
                waiting->connected = true;
            else if (error != ERROR_IO_PENDING)
                return WindowsSystem::failure (error);
        }
        instances.push_back (std::move (waiting));
        return juce::Result::ok();
    }

    /** Whether anything arrived or the other end went; a listener: whether a launch connected. */
    bool isReady()
    {
        if (pipe.isOpen())
        {
            DWORD available = 0;
            return !PeekNamedPipe (WindowsSystem::handleOf (pipe), nullptr, 0, nullptr, &available,
                                   nullptr) ||
                   available > 0;
        }
        addMissingInstances();
        // Cleared before the look, so that a connection that comes meanwhile sets it again.
        ResetEvent (connected.get());
        for (const auto& waiting : instances)
            if (waiting->isDone())
                return true;
        return false;
    }

    // A connection.
    FileDescriptor pipe;
    int sendLimitMs = 0;

    // A listener.
    std::wstring name;
    /** Set by any instance that a launch connects to. */
    WindowsSystem::OwnedHandle connected;
    std::vector<std::unique_ptr<Waiting>> instances;
    size_t wantedInstances = 1;
};

LocalSocket::LocalSocket() = default;
LocalSocket::LocalSocket (std::unique_ptr<Endpoint> opened) : endpoint (std::move (opened)) {}
LocalSocket::LocalSocket (LocalSocket&&) noexcept = default;
LocalSocket& LocalSocket::operator= (LocalSocket&&) noexcept = default;
LocalSocket::~LocalSocket() = default;

bool LocalSocket::isOpen() const noexcept
{
    return endpoint != nullptr && (endpoint->pipe.isOpen() || !endpoint->instances.empty());
}

bool LocalSocket::fits (const juce::File& file)
{
    return pipeName (file).size() <= longestPipeName;
}

juce::File LocalSocket::shortFolder()
{
    // A pipe's name holds the path, or its hash where the path is too long: every path fits. The
    // temporary folder is the user's own.
    return juce::File::getSpecialLocation (juce::File::tempDirectory);
}

juce::Result LocalSocket::listen (const juce::File& file, int backlog, LocalSocket& listening)
{
    if (!fits (file))
        return WindowsSystem::failure (ERROR_FILENAME_EXCED_RANGE);
    auto endpoint = std::make_unique<Endpoint>();
    endpoint->name = pipeName (file);
    endpoint->connected.reset (CreateEventW (nullptr, TRUE, FALSE, nullptr));
    if (endpoint->connected == nullptr)
        return WindowsSystem::lastFailure();
    endpoint->wantedInstances = (size_t)juce::jmax (1, backlog);
    // The first instance claims the name; the rest may come later.
    if (const auto added = endpoint->addInstance (true); added.failed())
        return added;
    endpoint->addMissingInstances();
    listening = LocalSocket (std::move (endpoint));
    return juce::Result::ok();
}

juce::Result LocalSocket::connect (const juce::File& file, int sendLimitMs, LocalSocket& connected)
{
    if (!fits (file))
        return WindowsSystem::failure (ERROR_FILENAME_EXCED_RANGE);
    // Never waits: with every instance taken (a stopped listener and a crowd of launches) the
    // system says the pipe is busy at once, and the caller tries again until its time is up. The
    // running instance may only identify this process, never act as it.
    auto pipe = WindowsSystem::adopt (
        CreateFileW (pipeName (file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                     FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
    if (!pipe.isOpen())
        return WindowsSystem::lastFailure();
    // Another user may have taken the name first; the paths a user opens go to the user's own
    // editor alone.
    if (const auto foreign =
            WindowsSystem::privacyOf (WindowsSystem::handleOf (pipe), SE_KERNEL_OBJECT, true);
        foreign.failed())
        return juce::Result::fail ("the pipe is not the user's own: " + foreign.getErrorMessage());
    auto endpoint = std::make_unique<Endpoint>();
    endpoint->pipe = std::move (pipe);
    endpoint->sendLimitMs = sendLimitMs;
    connected = LocalSocket (std::move (endpoint));
    return juce::Result::ok();
}

bool LocalSocket::accept (LocalSocket& accepted) const
{
    if (endpoint == nullptr)
        return false;
    auto& instances = endpoint->instances;
    for (size_t index = 0; index < instances.size(); ++index)
    {
        if (!instances[index]->isDone())
            continue;
        auto done = std::move (instances[index]);
        instances.erase (instances.begin() + (std::ptrdiff_t)index);
        // The next launch finds an instance waiting again; without one it hears the pipe is busy.
        endpoint->addMissingInstances();
        DWORD ignored = 0;
        if (!done->connected &&
            !GetOverlappedResult (WindowsSystem::handleOf (done->pipe), &done->connecting, &ignored, FALSE) &&
            GetLastError() != ERROR_PIPE_CONNECTED && GetLastError() != ERROR_NO_DATA)
            return accept (accepted);
        auto connection = std::make_unique<Endpoint>();
        connection->pipe = std::move (done->pipe);
        accepted = LocalSocket (std::move (connection));
        return true;
    }
    return false;
}

bool LocalSocket::sendAll (const void* data, size_t numBytes) const
{
    if (endpoint == nullptr || !endpoint->pipe.isOpen())
        return false;
    auto* bytes = static_cast<char*> (const_cast<void*> (data));
    for (size_t sent = 0; sent < numBytes;)
    {
        DWORD done = 0;
        if (!transfer (WindowsSystem::handleOf (endpoint->pipe), true, bytes + sent,
                       (DWORD)juce::jmin (numBytes - sent, (size_t)bufferBytes), done, endpoint->sendLimitMs))
            return false;
        sent += done;
    }
    return true;
}

LocalSocket::Received LocalSocket::receive (void* buffer, size_t size) const
{
    if (endpoint == nullptr || !endpoint->pipe.isOpen())
        return {0, true};
    const auto pipe = WindowsSystem::handleOf (endpoint->pipe);
    DWORD available = 0;
    // A closed or failed pipe cannot be looked into; what the other end wrote before it closed
    // is read first.
    if (!PeekNamedPipe (pipe, nullptr, 0, nullptr, &available, nullptr))
        return {0, true};
    if (available == 0)
        return {};
    DWORD done = 0;
    if (!transfer (pipe, false, buffer, (DWORD)juce::jmin ((size_t)available, size), done, 0))
        return {0, true};
    return {done, false};
}

std::vector<bool> LocalSocket::readable (const std::vector<const LocalSocket*>& sockets, int timeoutMs)
{
    const auto giveUpAt = juce::Time::getMillisecondCounter() + (juce::uint32)juce::jmax (0, timeoutMs);
    for (;;)
    {
        std::vector<bool> ready;
        std::vector<HANDLE> events;
        bool any = false;
        bool connections = false;
        for (const auto* socket : sockets)
        {
            auto* end = socket->endpoint.get();
            ready.push_back (end == nullptr || end->isReady());
            any = any || ready.back();
            if (end != nullptr && end->pipe.isOpen())
                connections = true;
            else if (end != nullptr && events.size() < MAXIMUM_WAIT_OBJECTS)
                events.push_back (end->connected.get());
        }
        const auto left = (juce::int32) (giveUpAt - juce::Time::getMillisecondCounter());
        if (any || left <= 0)
            return ready;
        // A listener has an event to wait on; a connection is looked at again shortly.
        const auto waitMs = (DWORD)(connections ? juce::jmin ((int)left, lookEveryMs) : left);
        if (events.empty())
            Sleep (waitMs);
        else if (WaitForMultipleObjects ((DWORD)events.size(), events.data(), FALSE, waitMs) == WAIT_FAILED)
            return {};
    }
}
