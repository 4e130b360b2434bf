#pragma once

#include "platform/FileDescriptor.h"
#include "platform/LocalSocket.h"
#include "platform/PrivateFolder.h"

#include <functional>
#include <juce_core/juce_core.h>
#include <memory>

/** Keeps one running editor per user: a later launch hands its command line to the running one
    and ends, but only once the running one has taken it.

    JUCE's own hand-over broadcasts nothing on Linux, and on Windows it cannot tell whether the
    running editor took a file, so this one uses a lock file held for the life of the running
    instance (the system drops it if the process dies) and a local socket (LocalSocket: a named
    pipe on Windows) named after a file beside it. Both live in a private folder that only this
    user may enter, inside $XDG_RUNTIME_DIR (else the temporary folder, the user's own on
    Windows): the paths a user opens are nobody else's business, and nobody else may take the
    lock or the socket first. The names carry the user's
    login name and, if set, the MARLO_EDITOR_INSTANCE environment variable, which lets tests run
    beside a user's own editor without talking to it.

    Whether the running editor or the launch opens a file is decided by the launch's request file
    (HandOverRequest), never by a clock alone: a stopped editor wakes with its clock stopped too.
*/
class InstanceHandOver final
{
public:
    enum class Role
    {
        primary,    ///< this process is the running instance and listens for later launches
        handedOver, ///< another instance runs and has taken the command line
        alone       ///< no hand-over was possible; this process runs on its own
    };

    /** Called on the message thread with each later launch's command line (possibly empty). */
    using Receiver = std::function<void (const juce::String& commandLine)>;
    /** Runs a function on the thread the receiver belongs to (the application's message thread),
        later and in order; the hand-over has no message loop of its own. */
    using MainThread = std::function<void (std::function<void()>)>;
    /** Milliseconds from any fixed point; only differences count. */
    using Clock = std::function<juce::uint32()>;

    /** How long a launch waits for the running instance to take its request. */
    static constexpr int confirmationTimeoutMs = 5000;
    /** How long a connection may take to deliver its one message. */
    static constexpr int readTimeoutMs = 1000;
    /** Connections read at once; past that the oldest is dropped, so a crowd of silent ones can
        delay a launch by no more than its own read time. */
    static constexpr int maxConnections = 32;

    /** Where the runtime folder's path is too long for a socket's name, the private folder is
        made in the short base folder instead. */
    explicit InstanceHandOver (const juce::String& instanceName = defaultInstanceName(),
                               const juce::File& baseFolder = defaultBaseFolder(),
                               const juce::File& shortBaseFolder = LocalSocket::shortFolder());
    ~InstanceHandOver();

    /** Replaces the system's millisecond counter; for tests. Set it before start. */
    void setClock (Clock newClock) { clock = std::move (newClock); }

    /** Becomes the running instance, or hands the command line to the one that runs.
        The receiver and the main thread are kept only when this process becomes the running
        instance; each later launch is taken and delivered through `mainThread`. */
    Role start (const juce::String& commandLine, Receiver receiver, MainThread mainThread);

    /** Whether this hand-over takes the place of the framework's own on this system; where it
        does not, the framework's works and this one is not used. */
    static bool replacesFrameworkHandOver();

    /** Opens the user's private folder inside the base folder, made if missing; fails when it
        cannot be made or is not a real folder owned by this user and closed to everybody else. */
    static juce::Result openPrivateFolder (const juce::File& baseFolder, PrivateFolder& opened);

    juce::File getFolder() const;
    juce::File getLockFile() const;
    juce::File getSocketFile() const;

    static juce::String defaultInstanceName();
    static juce::File defaultBaseFolder();

private:
    class Listener;

    bool sendToRunningInstance (const juce::String& commandLine) const;
    bool handOverOn (const LocalSocket& connection, const juce::String& commandLine) const;
    bool waitForConfirmation (const LocalSocket& connection) const;
    void takeAndDeliver (juce::uint64 requestId, const juce::String& commandLine,
                         const LocalSocket& connection);
    juce::String socketName() const;

    const juce::String instanceName;
    const juce::File baseFolder;
    Clock clock;
    Receiver receiver;
    MainThread mainThread;
    PrivateFolder folder;
    FileDescriptor lock;
    std::unique_ptr<Listener> listener;

    JUCE_DECLARE_WEAK_REFERENCEABLE (InstanceHandOver)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InstanceHandOver)
};
