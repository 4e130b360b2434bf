#include <gtest/gtest.h>

#include "support/MessageLoop.h"
#include "support/SystemUnderTest.h"
#include "support/TemporaryFolder.h"

#include "platform/HandOverFrame.h"
#include "platform/HandOverRequest.h"
#include "platform/InstanceHandOver.h"

#include <atomic>
#include <future>

namespace
{
using Role = InstanceHandOver::Role;
using RoleFuture = std::future<Role>;

/** Time that moves only when the test says so. */
class FakeClock
{
public:
    InstanceHandOver::Clock function()
    {
        return [this] { return now.load(); };
    }

    void advance (int milliseconds) { now += (juce::uint32)milliseconds; }

private:
    // Starts near the counter's wrap, so deadlines must be reckoned by difference.
    std::atomic<juce::uint32> now{0xffffffffu - 2000};
};

bool isReady (RoleFuture& role)
{
    return role.wait_for (std::chrono::milliseconds (0)) == std::future_status::ready;
}

/** Moves the launch's clock on, a step at a time, until the launch has decided: its time-out
    comes from the fake clock alone. The bound only keeps a broken test from hanging. */
Role decidedAsTimeGoesBy (RoleFuture& role, FakeClock& clock)
{
    for (int step = 0; step < 2000 && !isReady (role); ++step)
    {
        clock.advance (250);
        role.wait_for (std::chrono::milliseconds (5));
    }

    return role.get();
}

/** Waits for something to read on the connection; bounded, in case nothing ever comes. */
bool waitForInput (const LocalSocket& connection)
{
    const auto ready = LocalSocket::readable ({&connection}, 10000);
    return !ready.empty() && ready[0];
}

/** Whether the other end has closed the connection without a word. */
bool closedByPeer (const LocalSocket& connection)
{
    char answer = 0;
    const auto received =
        waitForInput (connection) ? connection.receive (&answer, 1) : LocalSocket::Received{};
    return received.ended && received.bytes == 0;
}

/** A running editor stopped as by SIGSTOP: it holds the lock and the system queues connections
    on its socket, but nothing of it runs until the test wakes it. */
class StoppedEditor
{
public:
    explicit StoppedEditor (const InstanceHandOver& place) : socketFile (place.getSocketFile())
    {
        EXPECT_TRUE (
            InstanceHandOver::openPrivateFolder (place.getFolder().getParentDirectory(), folder).wasOk());
        EXPECT_TRUE (folder.lock (place.getLockFile().getFileName(), lock).wasOk());
        EXPECT_TRUE (lock.isOpen());
        EXPECT_TRUE (LocalSocket::listen (socketFile, 4, listening).wasOk());
    }

    ~StoppedEditor()
    {
        client = {};
        listening = {};
        socketFile.deleteFile();
    }

    /** Wakes up and reads the message that waited for it. */
    HandOverFrame readMessage()
    {
        HandOverFrame frame;

        if (!waitForInput (listening) || !listening.accept (client))
            return frame;

        char buffer[256];

        while (frame.getState() == HandOverFrame::State::incomplete && waitForInput (client))
        {
            const auto received = client.receive (buffer, sizeof (buffer));
            if (received.bytes == 0 && received.ended)
                break;
            frame.append (buffer, received.bytes);
        }

        return frame;
    }

private:
    const juce::File socketFile;
    PrivateFolder folder;
    FileDescriptor lock;
    LocalSocket listening;
    LocalSocket client;
};

class InstanceHandOverTest : public ::testing::Test
{
protected:
    /** What the application hands over: its own message thread. */
    static InstanceHandOver::MainThread onMessageThread()
    {
        return [] (std::function<void()> call) { juce::MessageManager::callAsync (std::move (call)); };
    }

    InstanceHandOver::Receiver recorder()
    {
        return [this] (const juce::String& text) { received.add (text); };
    }

    /** A later launch runs on a thread of its own: it waits for a confirmation that only this
        thread's message loop can give. */
    Role launch (const juce::String& commandLine)
    {
        auto role = launchWith (commandLine, nullptr);
        runMessageLoopUntil ([&role] { return isReady (role); },
                             InstanceHandOver::confirmationTimeoutMs + 3000);
        return role.get();
    }

    /** A later launch on its own thread, on the given clock (else the system's). */
    RoleFuture launchWith (const juce::String& commandLine, FakeClock* clock,
                           const juce::File& shortBase = {})
    {
        return std::async (std::launch::async,
                           [this, commandLine, clock, shortBase]
                           {
                               InstanceHandOver later (name, base, shortBase);
                               if (clock != nullptr)
                                   later.setClock (clock->function());
                               return later.start (commandLine, nullptr, nullptr);
                           });
    }

    /** The hand-over's private folder, where the requests are. */
    const PrivateFolder& requestFolder()
    {
        EXPECT_TRUE (InstanceHandOver::openPrivateFolder (base, handOverFolder).wasOk());
        return handOverFolder;
    }

    int requestsLeft() const
    {
        return InstanceHandOver (name, base)
            .getFolder()
            .getNumberOfChildFiles (juce::File::findFiles, "*.request");
    }

    /** A stray writer: connects and sends the bytes, then optionally stays silent. */
    static LocalSocket connectAndWrite (const InstanceHandOver& primary, const juce::MemoryBlock& bytes)
    {
        LocalSocket connection;
        EXPECT_TRUE (LocalSocket::connect (primary.getSocketFile(), 1000, connection).wasOk());
        connection.sendAll (bytes.getData(), bytes.getSize());
        return connection;
    }

    TemporaryFolder folder;
    juce::File base = folder.get();
    const juce::String name = "handover-test-" + juce::String::toHexString (juce::Random().nextInt64());
    juce::StringArray received;
    PrivateFolder handOverFolder;
};

using SystemUnderTest::modeOf;
} // namespace

TEST_F (InstanceHandOverTest, EverythingLivesInAFolderOnlyTheUserMayEnter)
{
    MARLO_SKIP_UNLESS_POSIX (
        "modes and a socket that is a file; Windows keeps the folder to the user by its access list");
    InstanceHandOver primary (name, folder.get());
    ASSERT_EQ (primary.start ({}, recorder(), onMessageThread()), Role::primary);

    const auto privateFolder = primary.getFolder();
    EXPECT_EQ (privateFolder.getParentDirectory(), folder.get());
    EXPECT_EQ (modeOf (privateFolder), 0700u);
    EXPECT_EQ (primary.getLockFile().getParentDirectory(), privateFolder);
    EXPECT_EQ (primary.getSocketFile().getParentDirectory(), privateFolder);
    EXPECT_EQ (modeOf (primary.getLockFile()) & 0077, 0u);
    EXPECT_EQ (modeOf (primary.getSocketFile()) & 0077, 0u);

    // Nothing else of the hand-over lies in the shared folder.
    EXPECT_EQ (folder.get().findChildFiles (juce::File::findFilesAndDirectories, false).size(), 1);
}

TEST_F (InstanceHandOverTest, AFolderThatIsNotTheUsersOwnMeansRunningAlone)
{
    MARLO_SKIP_UNLESS_POSIX ("a folder made open to others by its mode, and a link anybody may make");
    const auto privateFolder = InstanceHandOver (name, folder.get()).getFolder();
    PrivateFolder opened;

    // Made first, but open to others.
    ASSERT_TRUE (privateFolder.createDirectory().wasOk());
    ASSERT_TRUE (SystemUnderTest::setMode (privateFolder, 0755));
    EXPECT_FALSE (InstanceHandOver::openPrivateFolder (folder.get(), opened).wasOk());
    EXPECT_EQ (InstanceHandOver (name, folder.get()).start ("/tmp/a.marlo", recorder(), onMessageThread()),
               Role::alone);
    ASSERT_TRUE (privateFolder.deleteRecursively());

    // A link to a folder that would pass every other check.
    const auto elsewhere = folder / "elsewhere";
    ASSERT_TRUE (elsewhere.createDirectory().wasOk());
    ASSERT_TRUE (SystemUnderTest::setMode (elsewhere, 0700));
    ASSERT_TRUE (elsewhere.createSymbolicLink (privateFolder, true));
    EXPECT_FALSE (InstanceHandOver::openPrivateFolder (folder.get(), opened).wasOk());
    EXPECT_EQ (InstanceHandOver (name, folder.get()).start ("/tmp/a.marlo", recorder(), onMessageThread()),
               Role::alone);
    EXPECT_TRUE (received.isEmpty());
    EXPECT_EQ (elsewhere.findChildFiles (juce::File::findFilesAndDirectories, false).size(), 0);
}

TEST_F (InstanceHandOverTest, ALaunchEndsOnlyOnceTheRunningInstanceTookItsCommandLine)
{
    InstanceHandOver primary (name, folder.get());
    ASSERT_EQ (primary.start ({}, recorder(), onMessageThread()), Role::primary);

    EXPECT_EQ (launch ("/home/ann/Stage Piano.marlo"), Role::handedOver);
    // A launch from the desktop menu passes nothing, and must still be heard.
    EXPECT_EQ (launch ({}), Role::handedOver);

    EXPECT_EQ (received, juce::StringArray ({"/home/ann/Stage Piano.marlo", ""}));
}

TEST_F (InstanceHandOverTest, StrayWritersAreDroppedAndTheListenerKeepsServing)
{
    InstanceHandOver primary (name, folder.get());
    ASSERT_EQ (primary.start ({}, recorder(), onMessageThread()), Role::primary);

    const auto garbage = connectAndWrite (primary, juce::MemoryBlock ("garbage\n", 8));
    juce::MemoryOutputStream hugeHeader;
    hugeHeader.writeInt ((int)HandOverFrame::marker);
    hugeHeader.writeInt (0x7fffffff);
    const auto huge = connectAndWrite (primary, hugeHeader.getMemoryBlock());
    // Half a message, and then silence: the listener must not wait for it for ever.
    auto encoded = HandOverFrame::encode (1, "/tmp/never-finished.marlo");
    encoded.setSize (encoded.getSize() - 3);
    const auto stalled = connectAndWrite (primary, encoded);

    EXPECT_EQ (launch ("/tmp/after-the-garbage.marlo"), Role::handedOver);
    EXPECT_EQ (launch ("/tmp/and-another.marlo"), Role::handedOver);
    EXPECT_EQ (received, juce::StringArray ({"/tmp/after-the-garbage.marlo", "/tmp/and-another.marlo"}));

    // The listener closed the connections it dropped, without answering them.
    for (const auto* connection : {&garbage, &huge, &stalled})
        EXPECT_TRUE (closedByPeer (*connection));
}

TEST_F (InstanceHandOverTest, ABusyEditorNeverOpensAFileItsLaunchGaveUp)
{
    InstanceHandOver primary (name, folder.get());
    ASSERT_EQ (primary.start ({}, recorder(), onMessageThread()), Role::primary);

    // The running instance's message thread is busy (this test does not run its loop), so nobody
    // takes the file while the launch waits.
    FakeClock clock;
    auto busy = launchWith ("/tmp/busy.marlo", &clock);
    EXPECT_EQ (decidedAsTimeGoesBy (busy, clock), Role::alone);
    EXPECT_EQ (requestsLeft(), 0);

    // When the message thread comes back, the given-up file is not opened there as well. The
    // next launch's message is queued behind it, so once that one is in, the first has been seen.
    EXPECT_EQ (launch ("/tmp/next.marlo"), Role::handedOver);
    EXPECT_EQ (received, juce::StringArray ({"/tmp/next.marlo"}));
    EXPECT_EQ (requestsLeft(), 0);
}

TEST_F (InstanceHandOverTest, AStoppedEditorWakesToFindTheLaunchOpenedItsFileItself)
{
    StoppedEditor editor (InstanceHandOver (name, folder.get()));
    FakeClock clock;
    auto role = launchWith ("/tmp/stopped.marlo", &clock);

    EXPECT_EQ (decidedAsTimeGoesBy (role, clock), Role::alone);

    // Woken, the editor finds the whole message, and loses the race for it.
    const auto message = editor.readMessage();
    ASSERT_EQ (message.getState(), HandOverFrame::State::complete);
    EXPECT_EQ (message.getText(), "/tmp/stopped.marlo");
    EXPECT_FALSE (HandOverRequest::take (requestFolder(), message.getRequestId()));
}

TEST_F (InstanceHandOverTest, AnEditorThatTookTheRequestKeepsItThoughItsAnswerComesTooLate)
{
    StoppedEditor editor (InstanceHandOver (name, folder.get()));
    FakeClock clock;
    auto role = launchWith ("/tmp/taken.marlo", &clock);

    // The editor takes the request and stops again before it can answer.
    const auto message = editor.readMessage();
    ASSERT_EQ (message.getState(), HandOverFrame::State::complete);
    EXPECT_TRUE (HandOverRequest::take (requestFolder(), message.getRequestId()));

    // The launch gives up waiting, loses the race, and leaves the file to the editor.
    EXPECT_EQ (decidedAsTimeGoesBy (role, clock), Role::handedOver);
    EXPECT_EQ (requestsLeft(), 0);
}

TEST_F (InstanceHandOverTest, ACrowdOfSilentConnectionsDoesNotKeepALaunchWaiting)
{
    // The editor's clock stands still: no silent connection ever runs out of time on its own.
    FakeClock clock;
    InstanceHandOver primary (name, folder.get());
    primary.setClock (clock.function());
    ASSERT_EQ (primary.start ({}, recorder(), onMessageThread()), Role::primary);

    std::vector<LocalSocket> silent;
    for (int i = 0; i < InstanceHandOver::maxConnections + 8; ++i)
        silent.push_back (connectAndWrite (primary, {}));

    EXPECT_EQ (launch ("/tmp/after-the-crowd.marlo"), Role::handedOver);
    EXPECT_EQ (received, juce::StringArray ({"/tmp/after-the-crowd.marlo"}));

    // Once their time is up they are all closed.
    clock.advance (InstanceHandOver::readTimeoutMs);
    for (const auto& connection : silent)
        EXPECT_TRUE (closedByPeer (connection));
}

TEST_F (InstanceHandOverTest, ARuntimeFolderTooLongForASocketGivesWayToAShortOne)
{
    MARLO_SKIP_UNLESS_POSIX ("a socket's short name; a pipe's name has room for a path this long");
    TemporaryFolder shortBase;
    base = folder / juce::String::repeatedString ("long-runtime-folder-", 6);
    ASSERT_TRUE (base.createDirectory());

    InstanceHandOver primary (name, base, shortBase.get());
    EXPECT_EQ (primary.getFolder().getParentDirectory(), shortBase.get());
    ASSERT_EQ (primary.start ({}, recorder(), onMessageThread()), Role::primary);
    EXPECT_EQ (modeOf (primary.getFolder()), 0700u);

    auto role = launchWith ("/tmp/short.marlo", nullptr, shortBase.get());
    runMessageLoopUntil ([&role] { return isReady (role); });
    EXPECT_EQ (role.get(), Role::handedOver);
    EXPECT_EQ (received, juce::StringArray ({"/tmp/short.marlo"}));

    // A runtime folder with room keeps everything.
    EXPECT_EQ (InstanceHandOver (name, folder.get(), shortBase.get()).getFolder().getParentDirectory(),
               folder.get());
}

TEST_F (InstanceHandOverTest, ADeadInstancesLeftoversDoNotStopTheNextOne)
{
    {
        InstanceHandOver first (name, folder.get());
        ASSERT_EQ (first.start ({}, recorder(), onMessageThread()), Role::primary);
    }

    // As after a crash: the socket file is still there, nobody listens.
    InstanceHandOver probe (name, folder.get());
    ASSERT_TRUE (probe.getSocketFile().create());

    InstanceHandOver next (name, folder.get());
    ASSERT_EQ (next.start ({}, recorder(), onMessageThread()), Role::primary);
    // Where a socket is a file, the leftover gave way to it.
    EXPECT_EQ (SystemUnderTest::isSocket (next.getSocketFile()), SystemUnderTest::isPosix);
    EXPECT_EQ (launch ("/tmp/b.marlo"), Role::handedOver);
    EXPECT_EQ (received, juce::StringArray ({"/tmp/b.marlo"}));
}
