#pragma once

#include <functional>
#include <juce_events/juce_events.h>
#include <memory>

/** Keeps one running editor per user: a later launch hands its command line to the running one
    and ends.

    JUCE's own hand-over broadcasts nothing on Linux, so this one uses a lock file held for the
    life of the running instance (the system drops it if the process dies) and a named pipe beside
    it. Both live in $XDG_RUNTIME_DIR (else the temporary folder) under a name made of the user's
    login name and, if set, the MARLO_EDITOR_INSTANCE environment variable, which lets tests run
    beside a user's own editor without talking to it.
*/
class InstanceHandOver final
{
public:
    enum class Role
    {
        primary,    ///< this process is the running instance and listens for later launches
        handedOver, ///< another instance runs and has been given the command line
        alone       ///< no hand-over was possible; this process runs on its own
    };

    /** Called on the message thread with each later launch's command line. */
    using Receiver = std::function<void (const juce::String& commandLine)>;

    explicit InstanceHandOver (const juce::String& instanceName = defaultInstanceName());
    ~InstanceHandOver();

    /** Becomes the running instance, or hands the command line to the one that runs.
        The receiver is kept only when this process becomes the running instance. */
    Role start (const juce::String& commandLine, Receiver receiver);

    juce::File getLockFile() const;
    juce::String getPipePath() const;

    static juce::String defaultInstanceName();

private:
    class Listener;

    bool sendToRunningInstance (const juce::String& commandLine) const;
    void listen();

    juce::String instanceName;
    Receiver receiver;
    std::unique_ptr<juce::InterProcessLock> lock;
    std::unique_ptr<Listener> listener;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InstanceHandOver)
};
