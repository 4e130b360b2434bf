#include "app/InstanceHandOver.h"

namespace
{
// "Marl": lets the listener drop anything that is not a launch of this editor.
constexpr juce::uint32 handOverMagic = 0x4d61726c;
constexpr int sendTimeoutMs = 2000;
// A running instance that holds the lock but has not opened its pipe yet (it is still starting)
// is waited for this long before the launch gives up and runs on its own.
constexpr int waitForListenerMs = 5000;

juce::File runtimeFolder()
{
    const juce::File runtime (juce::SystemStats::getEnvironmentVariable ("XDG_RUNTIME_DIR", {}));

    if (runtime.isDirectory())
        return runtime;

    return juce::File::getSpecialLocation (juce::File::tempDirectory);
}
} // namespace

/** The running instance's end of the pipe. */
class InstanceHandOver::Listener final : public juce::InterprocessConnection
{
public:
    explicit Listener (InstanceHandOver& owner)
        : juce::InterprocessConnection (true, handOverMagic), handOver (owner)
    {
    }
    ~Listener() override { disconnect(); }

    void connectionMade() override {}

    void connectionLost() override
    {
        // A launch killed half-way through its message leaves the pipe out of step: start afresh.
        juce::MessageManager::callAsync (
            [safe = juce::WeakReference<Listener> (this)]
            {
                if (auto* self = safe.get())
                    self->handOver.listen();
            });
    }

    void messageReceived (const juce::MemoryBlock& message) override
    {
        if (handOver.receiver != nullptr)
            handOver.receiver (message.toString());
    }

private:
    InstanceHandOver& handOver;

    JUCE_DECLARE_WEAK_REFERENCEABLE (Listener)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Listener)
};

InstanceHandOver::InstanceHandOver (const juce::String& name) : instanceName (name) {}

InstanceHandOver::~InstanceHandOver()
{
    listener.reset();
    lock.reset();
}

juce::String InstanceHandOver::defaultInstanceName()
{
    auto name = "orvane-marlo-editor-" + juce::SystemStats::getLogonName();
    const auto isolation = juce::SystemStats::getEnvironmentVariable ("MARLO_EDITOR_INSTANCE", {});

    if (isolation.isNotEmpty())
        name << "-" << isolation;

    return juce::File::createLegalFileName (name);
}

juce::File InstanceHandOver::getLockFile() const
{
    return runtimeFolder().getChildFile (instanceName + ".lock");
}

juce::String InstanceHandOver::getPipePath() const
{
    return runtimeFolder().getChildFile (instanceName + ".pipe").getFullPathName();
}

InstanceHandOver::Role InstanceHandOver::start (const juce::String& commandLine, Receiver newReceiver)
{
    // An absolute name keeps the lock beside the pipe instead of in a folder shared by all users.
    lock = std::make_unique<juce::InterProcessLock> (getLockFile().getFullPathName());

    if (lock->enter (0))
    {
        receiver = std::move (newReceiver);
        listen();
        return Role::primary;
    }

    lock.reset();
    return sendToRunningInstance (commandLine) ? Role::handedOver : Role::alone;
}

void InstanceHandOver::listen()
{
    listener.reset();

    // Holding the lock, any pipe of that name was left by an instance that died: remove it.
    juce::File (getPipePath() + "_in").deleteFile();
    juce::File (getPipePath() + "_out").deleteFile();

    listener = std::make_unique<Listener> (*this);

    if (!listener->createPipe (getPipePath(), -1, true))
        listener.reset();
}

bool InstanceHandOver::sendToRunningInstance (const juce::String& commandLine) const
{
    const auto giveUpAt = juce::Time::getMillisecondCounter() + (juce::uint32)waitForListenerMs;
    const juce::MemoryBlock message (commandLine.toRawUTF8(), commandLine.getNumBytesAsUTF8());

    /** The launching side: connects, sends one message, and goes. */
    struct Sender final : public juce::InterprocessConnection
    {
        Sender() : juce::InterprocessConnection (false, handOverMagic) {}
        ~Sender() override { disconnect(); }
        void connectionMade() override {}
        void connectionLost() override {}
        void messageReceived (const juce::MemoryBlock&) override {}
    };

    while (juce::Time::getMillisecondCounter() < giveUpAt)
    {
        Sender sender;

        if (sender.connectToPipe (getPipePath(), sendTimeoutMs) && sender.sendMessage (message))
            return true;

        juce::Thread::sleep (50);
    }

    return false;
}
