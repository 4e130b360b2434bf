#include "platform/LocalSocket.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>

namespace
{
std::optional<sockaddr_un> addressOf (const juce::File& file)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const auto path = file.getFullPathName();

    if ((size_t)path.getNumBytesAsUTF8() >= sizeof (address.sun_path))
        return std::nullopt;

    path.copyToUTF8 (address.sun_path, sizeof (address.sun_path));
    return address;
}

const sockaddr* asSocketAddress (const sockaddr_un& address)
{
    return reinterpret_cast<const sockaddr*> (&address);
}

FileDescriptor newSocket()
{
    return FileDescriptor (::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

juce::Result lastFailure()
{
    return FileDescriptor::failure (errno);
}
} // namespace

struct LocalSocket::Endpoint
{
    FileDescriptor descriptor;
};

namespace
{
/** The socket's descriptor; -1 for an end that holds none, which every call refuses. */
int descriptorOf (const std::unique_ptr<LocalSocket::Endpoint>& endpoint)
{
    return endpoint != nullptr ? endpoint->descriptor.get() : -1;
}

std::unique_ptr<LocalSocket::Endpoint> endpointFor (FileDescriptor descriptor)
{
    return std::unique_ptr<LocalSocket::Endpoint> (new LocalSocket::Endpoint{std::move (descriptor)});
}
} // namespace

LocalSocket::LocalSocket() = default;
LocalSocket::LocalSocket (std::unique_ptr<Endpoint> opened) : endpoint (std::move (opened)) {}
LocalSocket::LocalSocket (LocalSocket&&) noexcept = default;
LocalSocket& LocalSocket::operator= (LocalSocket&&) noexcept = default;
LocalSocket::~LocalSocket() = default;

bool LocalSocket::isOpen() const noexcept
{
    return descriptorOf (endpoint) >= 0;
}

juce::File LocalSocket::shortFolder()
{
    return juce::File ("/tmp");
}

bool LocalSocket::fits (const juce::File& file)
{
    return addressOf (file).has_value();
}

juce::Result LocalSocket::listen (const juce::File& file, int backlog, LocalSocket& listening)
{
    const auto address = addressOf (file);
    if (!address.has_value())
        return FileDescriptor::failure (ENAMETOOLONG);
    auto handle = newSocket();
    if (!handle.isOpen())
        return lastFailure();
    if (::bind (handle.get(), asSocketAddress (*address), sizeof (*address)) != 0 ||
        ::chmod (address->sun_path, 0600) != 0 || ::listen (handle.get(), backlog) != 0)
        return lastFailure();
    listening = LocalSocket (endpointFor (std::move (handle)));
    return juce::Result::ok();
}

juce::Result LocalSocket::connect (const juce::File& file, int sendLimitMs, LocalSocket& connected)
{
    const auto address = addressOf (file);
    if (!address.has_value())
        return FileDescriptor::failure (ENAMETOOLONG);
    // Without blocking: a local socket whose queue of waiting connections is full (a stopped
    // listener and a crowd of launches) would otherwise hold connect until the listener wakes,
    // past every time limit. Full, it fails at once, and the caller tries again until its time is up.
    auto handle = newSocket();
    if (!handle.isOpen() || ::connect (handle.get(), asSocketAddress (*address), sizeof (*address)) != 0)
        return lastFailure();

    // Connected, the answer is waited for with its own limit, and so is the message's way out: a
    // stopped listener that never reads cannot hold the sender either.
    const auto flags = ::fcntl (handle.get(), F_GETFL);
    const timeval sendLimit{sendLimitMs / 1000, (sendLimitMs % 1000) * 1000};
    if (flags < 0 || ::fcntl (handle.get(), F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        ::setsockopt (handle.get(), SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof (sendLimit)) != 0)
        return lastFailure();
    connected = LocalSocket (endpointFor (std::move (handle)));
    return juce::Result::ok();
}

bool LocalSocket::accept (LocalSocket& accepted) const
{
    FileDescriptor client (
        ::accept4 (descriptorOf (endpoint), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!client.isOpen())
        return false;
    accepted = LocalSocket (endpointFor (std::move (client)));
    return true;
}

bool LocalSocket::sendAll (const void* data, size_t numBytes) const
{
    const auto* bytes = static_cast<const char*> (data);
    size_t sent = 0;

    while (sent < numBytes)
    {
        const auto result = ::send (descriptorOf (endpoint), bytes + sent, numBytes - sent, MSG_NOSIGNAL);

        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            return false;

        sent += (size_t)result;
    }

    return true;
}

LocalSocket::Received LocalSocket::receive (void* buffer, size_t size) const
{
    for (;;)
    {
        const auto received = ::recv (descriptorOf (endpoint), buffer, size, 0);

        if (received > 0)
            return {(size_t)received, false};
        if (received < 0 && errno == EINTR)
            continue;
        // Nothing there yet on a socket that does not wait.
        if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return {};
        return {0, true};
    }
}

std::vector<bool> LocalSocket::readable (const std::vector<const LocalSocket*>& sockets, int timeoutMs)
{
    std::vector<pollfd> requests;
    for (const auto* socket : sockets)
        requests.push_back ({descriptorOf (socket->endpoint), POLLIN, 0});

    if (::poll (requests.data(), (nfds_t)requests.size(), timeoutMs) < 0)
        return {};

    std::vector<bool> ready;
    for (const auto& request : requests)
        ready.push_back ((request.revents & (POLLIN | POLLHUP | POLLERR)) != 0);
    return ready;
}
