#include "platform/InstanceHandOver.h"

#include "platform/HandOverFrame.h"
#include "platform/HandOverRequest.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace
{
// A running instance that holds the lock but has not opened its socket yet (it is still
// starting) is waited for this long before the launch gives up and runs on its own.
constexpr int waitForListenerMs = 5000;
// The longest a thread sleeps in the system between looks at its clock and its exit flag.
constexpr int sliceMs = 50;

int remainingMs (juce::uint32 now, juce::uint32 deadline)
{
    // Differences, so a counter that wraps around still counts down.
    const auto left = (juce::int32) (deadline - now);
    return left > 0 ? (int)left : 0;
}

/** Waits until the handle can be read, for at most the given time; false on time-out or error. */
bool waitToRead (int handle, int timeoutMs)
{
    pollfd request{handle, POLLIN, 0};

    for (;;)
    {
        const auto result = ::poll (&request, 1, timeoutMs);

        if (result >= 0 || errno != EINTR)
            return result > 0;
    }
}

juce::String privateFolderName()
{
    return "orvane-marlo-editor-" + juce::String ((juce::int64)::getuid());
}

std::optional<sockaddr_un> socketAddress (const juce::File& file)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const auto path = file.getFullPathName();

    // A path that does not fit would be cut short and name another socket.
    if ((size_t)path.getNumBytesAsUTF8() >= sizeof (address.sun_path))
        return std::nullopt;

    path.copyToUTF8 (address.sun_path, sizeof (address.sun_path));
    return address;
}

juce::File socketIn (const juce::File& baseFolder, const juce::String& instanceName)
{
    return baseFolder.getChildFile (privateFolderName()).getChildFile (instanceName + ".socket");
}

int connectTo (const sockaddr_un& address)
{
    // Without blocking: a local socket whose queue of waiting connections is full (a stopped editor
    // and a crowd of launches) would otherwise hold connect until the editor wakes, past every
    // time limit. Full, it fails at once, and the caller tries again until its time is up.
    const auto handle = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (handle < 0)
        return -1;

    if (::connect (handle, reinterpret_cast<const sockaddr*> (&address), sizeof (address)) != 0)
    {
        ::close (handle);
        return -1;
    }

    // Connected, the answer is waited for with its own limit, and so is the message's way out:
    // a stopped editor that never reads cannot hold the launch either.
    const auto flags = ::fcntl (handle, F_GETFL);
    const timeval sendLimit{InstanceHandOver::confirmationTimeoutMs / 1000, 0};
    if (flags < 0 || ::fcntl (handle, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        ::setsockopt (handle, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof (sendLimit)) != 0)
    {
        ::close (handle);
        return -1;
    }

    return handle;
}

bool sendAll (int handle, const juce::MemoryBlock& data)
{
    const auto* bytes = static_cast<const char*> (data.getData());
    size_t sent = 0;

    while (sent < data.getSize())
    {
        const auto result = ::send (handle, bytes + sent, data.getSize() - sent, MSG_NOSIGNAL);

        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            return false;

        sent += (size_t)result;
    }

    return true;
}

/** A launch's connection, closed when the last holder lets go: the listener while it reads,
    then the message thread's task that answers it. */
class Connection
{
public:
    explicit Connection (int h) : handle (h) {}
    ~Connection() { ::close (handle); }

    const int handle;
    HandOverFrame frame;
    juce::uint32 deadline = 0;

    JUCE_DECLARE_NON_COPYABLE (Connection)
};
} // namespace

/** The running instance's end: reads every open connection on a thread of its own, each within
    its own time limit, and passes each complete message to the message thread. A connection that
    says anything else, or too little in time, is closed without affecting the others. */
class InstanceHandOver::Listener final : public juce::Thread
{
public:
    Listener (InstanceHandOver& owner, int listeningSocket)
        : juce::Thread ("Marlo hand-over"), handOver (&owner), clock (owner.clock),
          mainThread (owner.mainThread), socketHandle (listeningSocket)
    {
    }

    ~Listener() override
    {
        signalThreadShouldExit();
        stopThread (10 * sliceMs);
        ::close (socketHandle);
    }

    void run() override
    {
        while (!threadShouldExit())
        {
            std::vector<pollfd> requests{{socketHandle, POLLIN, 0}};

            for (const auto& connection : connections)
                requests.push_back ({connection->handle, POLLIN, 0});

            if (::poll (requests.data(), (nfds_t)requests.size(), sliceMs) < 0)
                continue;

            // Read first, so that a connection accepted now is not mistaken for one of these.
            for (size_t i = 1; i < requests.size(); ++i)
                if ((requests[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0)
                    read (*connections[i - 1]);

            dropFinished();

            if ((requests[0].revents & POLLIN) != 0)
                acceptWaiting();
        }
    }

private:
    void acceptWaiting()
    {
        for (;;)
        {
            const auto client = ::accept4 (socketHandle, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);

            if (client < 0)
                return;

            if ((int)connections.size() >= maxConnections)
                connections.erase (connections.begin());

            connections.push_back (std::make_shared<Connection> (client));
            connections.back()->deadline = clock() + (juce::uint32)readTimeoutMs;
        }
    }

    void read (Connection& connection)
    {
        char buffer[4096];

        // A writer that never stops gets no more than one frame's worth of reading.
        while (connection.frame.getState() == HandOverFrame::State::incomplete)
        {
            const auto received = ::recv (connection.handle, buffer, sizeof (buffer), 0);

            if (received < 0 && errno == EINTR)
                continue;

            if (received > 0)
            {
                connection.frame.append (buffer, (size_t)received);
                continue;
            }

            // The launch keeps its end open until it is answered; a writer that closes, or any
            // error, ends the connection however far it got.
            if (received == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
                connection.deadline = clock();

            return;
        }
    }

    /** Passes complete messages on and closes what is spoilt or out of time. */
    void dropFinished()
    {
        const auto now = clock();
        std::vector<std::shared_ptr<Connection>> open;

        for (auto& connection : connections)
        {
            const auto state = connection->frame.getState();

            if (state == HandOverFrame::State::complete)
                handToMessageThread (std::move (connection));
            else if (state == HandOverFrame::State::incomplete && remainingMs (now, connection->deadline) > 0)
                open.push_back (std::move (connection));
        }

        connections = std::move (open);
    }

    void handToMessageThread (std::shared_ptr<Connection> connection)
    {
        // However late this runs (the message thread may be busy, the whole editor may have been
        // stopped), the request decides whether the file is still this editor's to open.
        mainThread (
            [connection, owner = handOver]
            {
                if (auto* self = owner.get())
                    self->takeAndDeliver (connection->frame.getRequestId(), connection->frame.getText(),
                                          connection->handle);
            });
    }

    // Made on the message thread; only copied here.
    const juce::WeakReference<InstanceHandOver> handOver;
    const Clock clock;
    const MainThread mainThread;
    const int socketHandle;
    std::vector<std::shared_ptr<Connection>> connections;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Listener)
};

InstanceHandOver::InstanceHandOver (const juce::String& name, const juce::File& base,
                                    const juce::File& shortBase)
    : instanceName (name), baseFolder (socketAddress (socketIn (base, name)).has_value() ? base : shortBase),
      clock ([] { return juce::Time::getMillisecondCounter(); })
{
}

InstanceHandOver::~InstanceHandOver()
{
    if (listener != nullptr)
    {
        listener.reset();
        ::unlink (getSocketFile().getFullPathName().toRawUTF8());
    }

    // Closing the handle releases the lock; the file stays, as unlinking it here could race with
    // a launch that has just opened it.
    if (lockHandle >= 0)
        ::close (lockHandle);
}

juce::String InstanceHandOver::defaultInstanceName()
{
    auto name = "orvane-marlo-editor-" + juce::SystemStats::getLogonName();
    const auto isolation = juce::SystemStats::getEnvironmentVariable ("MARLO_EDITOR_INSTANCE", {});

    if (isolation.isNotEmpty())
        name << "-" << isolation;

    return juce::File::createLegalFileName (name);
}

juce::File InstanceHandOver::defaultBaseFolder()
{
    const juce::File runtime (juce::SystemStats::getEnvironmentVariable ("XDG_RUNTIME_DIR", {}));

    if (runtime.isDirectory())
        return runtime;

    return juce::File::getSpecialLocation (juce::File::tempDirectory);
}

std::optional<juce::File> InstanceHandOver::privateFolder (const juce::File& base)
{
    if (!base.isDirectory())
        return std::nullopt;

    const auto folder = base.getChildFile (privateFolderName());
    const auto path = folder.getFullPathName();

    if (::mkdir (path.toRawUTF8(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;

    // Whatever is there now must be this user's own folder, not a link to one and not a folder
    // that somebody else made first or may enter.
    struct stat info
    {
    };
    if (::lstat (path.toRawUTF8(), &info) != 0 || !S_ISDIR (info.st_mode) || info.st_uid != ::getuid() ||
        (info.st_mode & 0077) != 0)
        return std::nullopt;

    return folder;
}

juce::File InstanceHandOver::getFolder() const
{
    return baseFolder.getChildFile (privateFolderName());
}

juce::File InstanceHandOver::getLockFile() const
{
    return getFolder().getChildFile (instanceName + ".lock");
}

juce::File InstanceHandOver::getSocketFile() const
{
    return socketIn (baseFolder, instanceName);
}

bool InstanceHandOver::takeLock (const juce::File& folder)
{
    const auto path = folder.getChildFile (instanceName + ".lock").getFullPathName();
    lockHandle = ::open (path.toRawUTF8(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);

    if (lockHandle < 0)
        return false;

    if (::flock (lockHandle, LOCK_EX | LOCK_NB) == 0)
        return true;

    ::close (lockHandle);
    lockHandle = -1;
    return false;
}

InstanceHandOver::Role InstanceHandOver::start (const juce::String& commandLine, Receiver newReceiver,
                                                MainThread newMainThread)
{
    // Without a folder of its own the editor talks to nobody rather than through a shared place.
    if (!privateFolder (baseFolder).has_value())
        return Role::alone;

    if (!takeLock (getFolder()))
        return sendToRunningInstance (commandLine) ? Role::handedOver : Role::alone;

    receiver = std::move (newReceiver);
    mainThread = std::move (newMainThread);
    jassert (receiver == nullptr || mainThread != nullptr);
    HandOverRequest::removeAbandoned (getFolder());

    const auto address = socketAddress (getSocketFile());
    const auto handle =
        address.has_value() ? ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0) : -1;

    if (handle < 0)
        return Role::primary;

    // Holding the lock, anything of that name was left by an instance that died.
    ::unlink (address->sun_path);

    if (::bind (handle, reinterpret_cast<const sockaddr*> (&*address), sizeof (*address)) != 0 ||
        ::chmod (address->sun_path, 0600) != 0 || ::listen (handle, 64) != 0)
    {
        ::close (handle);
        return Role::primary;
    }

    listener = std::make_unique<Listener> (*this, handle);
    listener->startThread();
    return Role::primary;
}

void InstanceHandOver::takeAndDeliver (juce::uint64 requestId, const juce::String& commandLine,
                                       int connection)
{
    // A launch that has given up opens its file itself; this editor must not open it as well.
    if (!HandOverRequest::take (getFolder(), requestId))
        return;

    const juce::uint8 confirmation = HandOverFrame::confirmation;
    ::send (connection, &confirmation, 1, MSG_NOSIGNAL);

    if (receiver != nullptr)
        receiver (commandLine);
}

bool InstanceHandOver::sendToRunningInstance (const juce::String& commandLine) const
{
    const auto address = socketAddress (getSocketFile());

    if (!address.has_value())
        return false;

    HandOverRequest::removeAbandoned (getFolder());
    const auto giveUpAt = clock() + (juce::uint32)waitForListenerMs;

    for (;;)
    {
        const auto handle = connectTo (*address);

        if (handle >= 0)
        {
            const auto handedOver = handOverOn (handle, commandLine);
            ::close (handle);
            return handedOver;
        }

        if (remainingMs (clock(), giveUpAt) == 0)
            return false;

        juce::Thread::sleep (sliceMs);
    }
}

bool InstanceHandOver::handOverOn (int connection, const juce::String& commandLine) const
{
    const auto request = HandOverRequest::create (getFolder());

    // Nothing has gone out yet, so nobody else can open the file.
    if (request == nullptr)
        return false;

    // Once the message has gone out it is not sent again: if the running instance has not taken
    // the request by the time this launch stops waiting, the launch gives it up and opens the
    // file itself, unless the running instance took it just before.
    if (sendAll (connection, HandOverFrame::encode (request->getId(), commandLine)) &&
        waitForConfirmation (connection))
        return true;

    return !request->giveUp();
}

bool InstanceHandOver::waitForConfirmation (int connection) const
{
    const auto giveUpAt = clock() + (juce::uint32)confirmationTimeoutMs;

    for (auto left = remainingMs (clock(), giveUpAt); left > 0; left = remainingMs (clock(), giveUpAt))
    {
        if (!waitToRead (connection, juce::jmin (left, sliceMs)))
            continue;

        juce::uint8 answer = 0;
        const auto received = ::recv (connection, &answer, 1, 0);

        if (received < 0 && errno == EINTR)
            continue;

        return received == 1 && answer == HandOverFrame::confirmation;
    }

    return false;
}
