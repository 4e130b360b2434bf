#include <gtest/gtest.h>

#include "support/MessageLoop.h"
#include "support/TemporaryFolder.h"

#include "platform/HandOverFrame.h"
#include "platform/HandOverRequest.h"
#include "platform/InstanceHandOver.h"

#include <atomic>
#include <fcntl.h>
#include <future>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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

/** Whether the other end has closed the connection; bounded, in case it never does. */
bool closedByPeer (int handle)
{
    pollfd request{handle, POLLIN, 0};
    char answer = 0;
    return ::poll (&request, 1, 10000) == 1 && ::recv (handle, &answer, 1, 0) == 0;
}

/** A running editor stopped as by SIGSTOP: it holds the lock and the system queues connections
    on its socket, but nothing of it runs until the test wakes it. */
class StoppedEditor
{
public:
    explicit StoppedEditor (const InstanceHandOver& place)
    {
        PrivateFolder opened;
        EXPECT_TRUE (
            InstanceHandOver::openPrivateFolder (place.getFolder().getParentDirectory(), opened).wasOk());
        lock = ::open (place.getLockFile().getFullPathName().toRawUTF8(), O_RDWR | O_CREAT, 0600);
        EXPECT_EQ (::flock (lock, LOCK_EX | LOCK_NB), 0);

        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        place.getSocketFile().getFullPathName().copyToUTF8 (address.sun_path, sizeof (address.sun_path));
        listening = ::socket (AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ (::bind (listening, reinterpret_cast<sockaddr*> (&address), sizeof (address)), 0);
        EXPECT_EQ (::listen (listening, 4), 0);
        socketPath = address.sun_path;
    }

    ~StoppedEditor()
    {
        if (client >= 0)
            ::close (client);
        ::close (listening);
        ::unlink (socketPath.c_str());
        ::close (lock);
    }

    /** Wakes up and reads the message that waited for it. */
    HandOverFrame readMessage()
    {
        HandOverFrame frame;
        pollfd request{listening, POLLIN, 0};

        if (::poll (&request, 1, 10000) != 1)
            return frame;

        client = ::accept (listening, nullptr, nullptr);
        char buffer[256];

        while (frame.getState() == HandOverFrame::State::incomplete)
        {
            const auto received = ::recv (client, buffer, sizeof (buffer), 0);
            if (received <= 0)
                break;
            frame.append (buffer, (size_t)received);
        }

        return frame;
    }

private:
    int lock = -1;
    int listening = -1;
    int client = -1;
    std::string socketPath;
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
    int connectAndWrite (const InstanceHandOver& primary, const juce::MemoryBlock& bytes)
    {
        const auto handle = ::socket (AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        primary.getSocketFile().getFullPathName().copyToUTF8 (address.sun_path, sizeof (address.sun_path));
        EXPECT_EQ (::connect (handle, reinterpret_cast<sockaddr*> (&address), sizeof (address)), 0);
        ::send (handle, bytes.getData(), bytes.getSize(), MSG_NOSIGNAL);
        return handle;
    }

    TemporaryFolder folder;
    juce::File base = folder.get();
    const juce::String name = "handover-test-" + juce::String::toHexString (juce::Random().nextInt64());
    juce::StringArray received;
    PrivateFolder handOverFolder;
};

mode_t modeOf (const juce::File& file)
{
    struct stat info
    {
    };
    EXPECT_EQ (::lstat (file.getFullPathName().toRawUTF8(), &info), 0) << file.getFullPathName();
    return info.st_mode & 07777;
}
} // namespace

TEST_F (InstanceHandOverTest, EverythingLivesInAFolderOnlyTheUserMayEnter)
{
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
    const auto privateFolder = InstanceHandOver (name, folder.get()).getFolder();
    PrivateFolder opened;

    // Made first, but open to others.
    ASSERT_EQ (::mkdir (privateFolder.getFullPathName().toRawUTF8(), 0755), 0);
    ASSERT_EQ (::chmod (privateFolder.getFullPathName().toRawUTF8(), 0755), 0);
    EXPECT_FALSE (InstanceHandOver::openPrivateFolder (folder.get(), opened).wasOk());
    EXPECT_EQ (InstanceHandOver (name, folder.get()).start ("/tmp/a.marlo", recorder(), onMessageThread()),
               Role::alone);
    ASSERT_TRUE (privateFolder.deleteRecursively());

    // A link to a folder that would pass every other check.
    const auto elsewhere = folder / "elsewhere";
    ASSERT_EQ (::mkdir (elsewhere.getFullPathName().toRawUTF8(), 0700), 0);
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
    for (const auto handle : {garbage, huge, stalled})
    {
        char answer = 0;
        EXPECT_EQ (::recv (handle, &answer, 1, 0), 0);
        ::close (handle);
    }
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

    std::vector<int> silent;
    for (int i = 0; i < InstanceHandOver::maxConnections + 8; ++i)
        silent.push_back (connectAndWrite (primary, {}));

    EXPECT_EQ (launch ("/tmp/after-the-crowd.marlo"), Role::handedOver);
    EXPECT_EQ (received, juce::StringArray ({"/tmp/after-the-crowd.marlo"}));

    // Once their time is up they are all closed.
    clock.advance (InstanceHandOver::readTimeoutMs);
    for (const auto handle : silent)
    {
        EXPECT_TRUE (closedByPeer (handle));
        ::close (handle);
    }
}

TEST_F (InstanceHandOverTest, ARuntimeFolderTooLongForASocketGivesWayToAShortOne)
{
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
    struct stat info
    {
    };
    ASSERT_EQ (::lstat (next.getSocketFile().getFullPathName().toRawUTF8(), &info), 0);
    EXPECT_TRUE (S_ISSOCK (info.st_mode));
    EXPECT_EQ (launch ("/tmp/b.marlo"), Role::handedOver);
    EXPECT_EQ (received, juce::StringArray ({"/tmp/b.marlo"}));
}
