#include "app/InstanceHandOver.h"

#include "app/HandOverFrame.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
// A running instance that holds the lock but has not opened its socket yet (it is still
// starting) is waited for this long before the launch gives up and runs on its own.
constexpr int waitForListenerMs = 5000;

juce::uint32 now()
{
    return juce::Time::getMillisecondCounter();
}

int remainingMs (juce::uint32 deadline)
{
    const auto current = now();
    return current >= deadline ? 0 : (int)(deadline - current);
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

int connectTo (const juce::File& socketFile)
{
    const auto address = socketAddress (socketFile);
    if (!address.has_value())
        return -1;

    const auto handle = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (handle < 0)
        return -1;

    if (::connect (handle, reinterpret_cast<const sockaddr*> (&*address), sizeof (*address)) != 0)
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

bool receiveConfirmation (int handle)
{
    if (!waitToRead (handle, InstanceHandOver::confirmationTimeoutMs))
        return false;

    juce::uint8 answer = 0;
    return ::recv (handle, &answer, 1, 0) == 1 && answer == HandOverFrame::confirmation;
}

/** One command line on its way from the listener's thread to the message thread. Whichever side
    moves first decides: the message thread takes it, or the listener gives up on it. Either way
    the launch learns the truth, so a file is neither lost nor opened twice. */
struct Delivery
{
    enum class State
    {
        waiting,
        taken,
        abandoned
    };

    bool moveFrom (State expected, State next)
    {
        const std::lock_guard<std::mutex> guard (mutex);

        if (state != expected)
            return false;

        state = next;
        return true;
    }

    std::mutex mutex;
    State state = State::waiting;
    juce::WaitableEvent taken;
};
} // namespace

/** The running instance's end: accepts one connection at a time on a thread of its own, reads its
    one framed message within a time limit and hands the command line to the message thread.
    Anything else on a connection closes that connection only. */
class InstanceHandOver::Listener final : public juce::Thread
{
public:
    Listener (InstanceHandOver& owner, int listeningSocket)
        : juce::Thread ("Marlo hand-over"), handOver (&owner), socketHandle (listeningSocket)
    {
    }

    ~Listener() override
    {
        signalThreadShouldExit();
        stopThread (deliveryTimeoutMs + readTimeoutMs);
        ::close (socketHandle);
    }

    void run() override
    {
        while (!threadShouldExit())
        {
            if (!waitToRead (socketHandle, 100))
                continue;

            const auto client = ::accept4 (socketHandle, nullptr, nullptr, SOCK_CLOEXEC);

            if (client < 0)
                continue;

            serve (client);
            ::close (client);
        }
    }

private:
    void serve (int client)
    {
        HandOverFrame frame;
        const auto giveUpAt = now() + (juce::uint32)readTimeoutMs;

        // A writer that stalls, however far it got, is dropped when its time is up.
        while (frame.getState() == HandOverFrame::State::incomplete && !threadShouldExit())
        {
            const auto left = remainingMs (giveUpAt);

            if (left == 0)
                return;

            if (!waitToRead (client, juce::jmin (left, 100)))
                continue;

            char buffer[4096];
            const auto received = ::recv (client, buffer, sizeof (buffer), 0);

            if (received < 0 && errno == EINTR)
                continue;
            if (received <= 0)
                return;

            frame.append (buffer, (size_t)received);
        }

        if (frame.getState() == HandOverFrame::State::complete && handToMessageThread (frame.getText()))
        {
            const juce::uint8 confirmation = HandOverFrame::confirmation;
            ::send (client, &confirmation, 1, MSG_NOSIGNAL);
        }
    }

    bool handToMessageThread (const juce::String& commandLine)
    {
        auto delivery = std::make_shared<Delivery>();

        const auto posted = juce::MessageManager::callAsync (
            [delivery, commandLine, owner = handOver]
            {
                if (!delivery->moveFrom (Delivery::State::waiting, Delivery::State::taken))
                    return;

                delivery->taken.signal();

                if (auto* self = owner.get())
                    self->deliver (commandLine);
            });

        if (!posted)
            return false;

        const auto giveUpAt = now() + (juce::uint32)deliveryTimeoutMs;

        while (!delivery->taken.wait (50))
            if (remainingMs (giveUpAt) == 0 || threadShouldExit())
                break;

        return !delivery->moveFrom (Delivery::State::waiting, Delivery::State::abandoned);
    }

    // Made on the message thread; only copied here.
    const juce::WeakReference<InstanceHandOver> handOver;
    const int socketHandle;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Listener)
};

InstanceHandOver::InstanceHandOver (const juce::String& name, const juce::File& base)
    : instanceName (name), baseFolder (base)
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

    const auto folder = base.getChildFile ("orvane-marlo-editor-" + juce::String ((juce::int64)::getuid()));
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
    return baseFolder.getChildFile ("orvane-marlo-editor-" + juce::String ((juce::int64)::getuid()));
}

juce::File InstanceHandOver::getLockFile() const
{
    return getFolder().getChildFile (instanceName + ".lock");
}

juce::File InstanceHandOver::getSocketFile() const
{
    return getFolder().getChildFile (instanceName + ".socket");
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

InstanceHandOver::Role InstanceHandOver::start (const juce::String& commandLine, Receiver newReceiver)
{
    // Without a folder of its own the editor talks to nobody rather than through a shared place.
    if (!privateFolder (baseFolder).has_value())
        return Role::alone;

    if (!takeLock (getFolder()))
        return sendToRunningInstance (commandLine) ? Role::handedOver : Role::alone;

    receiver = std::move (newReceiver);

    const auto address = socketAddress (getSocketFile());
    const auto handle = address.has_value() ? ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0) : -1;

    if (handle < 0)
        return Role::primary;

    // Holding the lock, anything of that name was left by an instance that died.
    ::unlink (address->sun_path);

    if (::bind (handle, reinterpret_cast<const sockaddr*> (&*address), sizeof (*address)) != 0 ||
        ::chmod (address->sun_path, 0600) != 0 || ::listen (handle, 16) != 0)
    {
        ::close (handle);
        return Role::primary;
    }

    listener = std::make_unique<Listener> (*this, handle);
    listener->startThread();
    return Role::primary;
}

void InstanceHandOver::deliver (const juce::String& commandLine)
{
    if (receiver != nullptr)
        receiver (commandLine);
}

bool InstanceHandOver::sendToRunningInstance (const juce::String& commandLine) const
{
    const auto message = HandOverFrame::encode (commandLine);
    const auto giveUpAt = now() + (juce::uint32)waitForListenerMs;

    for (;;)
    {
        const auto handle = connectTo (getSocketFile());

        if (handle >= 0)
        {
            // Once the message has gone out it is not sent again: without the confirmation the
            // running instance has dropped it, and this launch opens the file itself.
            const auto confirmed = sendAll (handle, message) && receiveConfirmation (handle);
            ::close (handle);
            return confirmed;
        }

        if (remainingMs (giveUpAt) == 0)
            return false;

        juce::Thread::sleep (50);
    }
}
