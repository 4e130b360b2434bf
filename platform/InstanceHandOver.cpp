#include "platform/InstanceHandOver.h"

#include "platform/HandOverFrame.h"
#include "platform/HandOverRequest.h"
#include "platform/ThisProcess.h"

#include <vector>

namespace
{
// A running instance that holds the lock but has not opened its socket yet (it is still
// starting) is waited for this long before the launch gives up and runs on its own.
constexpr int waitForListenerMs = 5000;
// The longest a thread sleeps in the system between looks at its clock and its exit flag.
constexpr int sliceMs = 50;
// Launches that may wait to be accepted at once.
constexpr int waitingLaunches = 64;

int remainingMs (juce::uint32 now, juce::uint32 deadline)
{
    // Differences, so a counter that wraps around still counts down.
    const auto left = (juce::int32) (deadline - now);
    return left > 0 ? (int)left : 0;
}

juce::String privateFolderName()
{
    return "orvane-marlo-editor-" + ThisProcess::user();
}

juce::File socketIn (const juce::File& baseFolder, const juce::String& instanceName)
{
    return baseFolder.getChildFile (privateFolderName()).getChildFile (instanceName + ".socket");
}

/** A launch's connection, closed when the last holder lets go: the listener while it reads,
    then the message thread's task that answers it. */
struct Connection
{
    LocalSocket socket;
    HandOverFrame frame;
    juce::uint32 deadline = 0;
};
} // namespace

/** The running instance's end: reads every open connection on a thread of its own, each within
    its own time limit, and passes each complete message to the message thread. A connection that
    says anything else, or too little in time, is closed without affecting the others. */
class InstanceHandOver::Listener final : public juce::Thread
{
public:
    Listener (InstanceHandOver& owner, LocalSocket listeningSocket)
        : juce::Thread ("Marlo hand-over"), handOver (&owner), clock (owner.clock),
          mainThread (owner.mainThread), listening (std::move (listeningSocket))
    {
    }

    ~Listener() override
    {
        signalThreadShouldExit();
        stopThread (10 * sliceMs);
    }

    void run() override
    {
        while (!threadShouldExit())
        {
            std::vector<const LocalSocket*> sockets{&listening};

            for (const auto& connection : connections)
                sockets.push_back (&connection->socket);

            const auto ready = LocalSocket::readable (sockets, sliceMs);

            if (ready.empty())
                continue;

            // Read first, so that a connection accepted now is not mistaken for one of these.
            for (size_t i = 1; i < ready.size(); ++i)
                if (ready[i])
                    read (*connections[i - 1]);

            dropFinished();

            if (ready[0])
                acceptWaiting();
        }
    }

private:
    void acceptWaiting()
    {
        for (;;)
        {
            auto accepted = std::make_shared<Connection>();

            if (!listening.accept (accepted->socket))
                return;

            if ((int)connections.size() >= maxConnections)
                connections.erase (connections.begin());

            accepted->deadline = clock() + (juce::uint32)readTimeoutMs;
            connections.push_back (std::move (accepted));
        }
    }

    void read (Connection& connection)
    {
        char buffer[4096];

        // A writer that never stops gets no more than one frame's worth of reading.
        while (connection.frame.getState() == HandOverFrame::State::incomplete)
        {
            const auto received = connection.socket.receive (buffer, sizeof (buffer));

            if (received.bytes > 0)
            {
                connection.frame.append (buffer, received.bytes);
                continue;
            }

            // The launch keeps its end open until it is answered; a writer that closes, or any
            // error, ends the connection however far it got.
            if (received.ended)
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
                                          connection->socket);
            });
    }

    // Made on the message thread; only copied here.
    const juce::WeakReference<InstanceHandOver> handOver;
    const Clock clock;
    const MainThread mainThread;
    const LocalSocket listening;
    std::vector<std::shared_ptr<Connection>> connections;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Listener)
};

InstanceHandOver::InstanceHandOver (const juce::String& name, const juce::File& base,
                                    const juce::File& shortBase)
    : instanceName (name), baseFolder (LocalSocket::fits (socketIn (base, name)) ? base : shortBase),
      clock ([] { return juce::Time::getMillisecondCounter(); })
{
}

InstanceHandOver::~InstanceHandOver()
{
    if (listener != nullptr)
    {
        listener.reset();
        folder.remove (socketName());
    }

    // Closing the lock's file releases the lock; the file stays, as removing it here could race
    // with a launch that has just opened it.
}

bool InstanceHandOver::replacesFrameworkHandOver()
{
    // The framework's own takes a lock on Linux and then broadcasts into nothing, so a second
    // launch would quit before it started and drop its file; on Windows it sends the command line
    // without learning whether the running editor took it, so neither side knows who opens it.
    return true;
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

juce::Result InstanceHandOver::openPrivateFolder (const juce::File& base, PrivateFolder& opened)
{
    if (!base.isDirectory())
        return juce::Result::fail (base.getFullPathName() + ": not a folder");

    // Whatever is there must be this user's own folder, not a link to one and not a folder that
    // somebody else made first or may enter.
    return PrivateFolder::open (base.getChildFile (privateFolderName()), true, opened,
                                PrivateFolder::KeptOut::everybody);
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

juce::String InstanceHandOver::socketName() const
{
    return getSocketFile().getFileName();
}

InstanceHandOver::Role InstanceHandOver::start (const juce::String& commandLine, Receiver newReceiver,
                                                MainThread newMainThread)
{
    // Without a folder of its own the editor talks to nobody rather than through a shared place.
    if (openPrivateFolder (baseFolder, folder).failed())
        return Role::alone;

    if (folder.lock (getLockFile().getFileName(), lock).failed() || !lock.isOpen())
        return sendToRunningInstance (commandLine) ? Role::handedOver : Role::alone;

    receiver = std::move (newReceiver);
    mainThread = std::move (newMainThread);
    jassert (receiver == nullptr || mainThread != nullptr);
    HandOverRequest::removeAbandoned (folder);

    if (!LocalSocket::fits (getSocketFile()))
        return Role::primary;

    // Holding the lock, anything of that name was left by an instance that died.
    folder.remove (socketName());

    LocalSocket listening;
    if (LocalSocket::listen (getSocketFile(), waitingLaunches, listening).failed())
        return Role::primary;

    listener = std::make_unique<Listener> (*this, std::move (listening));
    listener->startThread();
    return Role::primary;
}

void InstanceHandOver::takeAndDeliver (juce::uint64 requestId, const juce::String& commandLine,
                                       const LocalSocket& connection)
{
    // A launch that has given up opens its file itself; this editor must not open it as well.
    if (!HandOverRequest::take (folder, requestId))
        return;

    const juce::uint8 confirmation = HandOverFrame::confirmation;
    connection.sendAll (&confirmation, 1);

    if (receiver != nullptr)
        receiver (commandLine);
}

bool InstanceHandOver::sendToRunningInstance (const juce::String& commandLine) const
{
    if (!LocalSocket::fits (getSocketFile()))
        return false;

    HandOverRequest::removeAbandoned (folder);
    const auto giveUpAt = clock() + (juce::uint32)waitForListenerMs;

    for (;;)
    {
        LocalSocket connection;

        if (LocalSocket::connect (getSocketFile(), confirmationTimeoutMs, connection).wasOk())
            return handOverOn (connection, commandLine);

        if (remainingMs (clock(), giveUpAt) == 0)
            return false;

        juce::Thread::sleep (sliceMs);
    }
}

bool InstanceHandOver::handOverOn (const LocalSocket& connection, const juce::String& commandLine) const
{
    const auto request = HandOverRequest::create (folder);

    // Nothing has gone out yet, so nobody else can open the file.
    if (request == nullptr)
        return false;

    // Once the message has gone out it is not sent again: if the running instance has not taken
    // the request by the time this launch stops waiting, the launch gives it up and opens the
    // file itself, unless the running instance took it just before.
    const auto message = HandOverFrame::encode (request->getId(), commandLine);
    if (connection.sendAll (message.getData(), message.getSize()) && waitForConfirmation (connection))
        return true;

    return !request->giveUp();
}

bool InstanceHandOver::waitForConfirmation (const LocalSocket& connection) const
{
    const auto giveUpAt = clock() + (juce::uint32)confirmationTimeoutMs;

    for (auto left = remainingMs (clock(), giveUpAt); left > 0; left = remainingMs (clock(), giveUpAt))
    {
        const auto ready = LocalSocket::readable ({&connection}, juce::jmin (left, sliceMs));

        if (ready.empty() || !ready[0])
            continue;

        juce::uint8 answer = 0;
        const auto received = connection.receive (&answer, 1);
        return received.bytes == 1 && answer == HandOverFrame::confirmation;
    }

    return false;
}
