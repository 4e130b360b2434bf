#include <gtest/gtest.h>

#include "AppTestSupport.h"

#include "app/HandOverFrame.h"
#include "app/InstanceHandOver.h"

#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
using Role = InstanceHandOver::Role;

class InstanceHandOverTest : public ::testing::Test
{
protected:
    InstanceHandOver::Receiver recorder()
    {
        return [this] (const juce::String& text) { received.add (text); };
    }

    /** A later launch runs on a thread of its own: it waits for a confirmation that only this
        thread's message loop can give. */
    Role launch (const juce::String& commandLine)
    {
        auto role = std::async (std::launch::async,
                                [this, commandLine]
                                {
                                    InstanceHandOver later (name, folder.get());
                                    return later.start (commandLine, nullptr);
                                });
        runMessageLoopUntil (
            [&role] { return role.wait_for (std::chrono::seconds (0)) == std::future_status::ready; },
            InstanceHandOver::confirmationTimeoutMs + 3000);
        return role.get();
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
    const juce::String name = "handover-test-" + juce::String::toHexString (juce::Random().nextInt64());
    juce::StringArray received;
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
    ASSERT_EQ (primary.start ({}, recorder()), Role::primary);

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

    // Made first, but open to others.
    ASSERT_EQ (::mkdir (privateFolder.getFullPathName().toRawUTF8(), 0755), 0);
    ASSERT_EQ (::chmod (privateFolder.getFullPathName().toRawUTF8(), 0755), 0);
    EXPECT_FALSE (InstanceHandOver::privateFolder (folder.get()).has_value());
    EXPECT_EQ (InstanceHandOver (name, folder.get()).start ("/tmp/a.marlo", recorder()), Role::alone);
    ASSERT_TRUE (privateFolder.deleteRecursively());

    // A link to a folder that would pass every other check.
    const auto elsewhere = folder / "elsewhere";
    ASSERT_EQ (::mkdir (elsewhere.getFullPathName().toRawUTF8(), 0700), 0);
    ASSERT_TRUE (elsewhere.createSymbolicLink (privateFolder, true));
    EXPECT_FALSE (InstanceHandOver::privateFolder (folder.get()).has_value());
    EXPECT_EQ (InstanceHandOver (name, folder.get()).start ("/tmp/a.marlo", recorder()), Role::alone);
    EXPECT_TRUE (received.isEmpty());
    EXPECT_EQ (elsewhere.findChildFiles (juce::File::findFilesAndDirectories, false).size(), 0);
}

TEST_F (InstanceHandOverTest, ALaunchEndsOnlyOnceTheRunningInstanceTookItsCommandLine)
{
    InstanceHandOver primary (name, folder.get());
    ASSERT_EQ (primary.start ({}, recorder()), Role::primary);

    EXPECT_EQ (launch ("/home/ann/Stage Piano.marlo"), Role::handedOver);
    // A launch from the desktop menu passes nothing, and must still be heard.
    EXPECT_EQ (launch ({}), Role::handedOver);

    EXPECT_EQ (received, juce::StringArray ({"/home/ann/Stage Piano.marlo", ""}));
}

TEST_F (InstanceHandOverTest, StrayWritersAreDroppedAndTheListenerKeepsServing)
{
    InstanceHandOver primary (name, folder.get());
    ASSERT_EQ (primary.start ({}, recorder()), Role::primary);

    const auto garbage = connectAndWrite (primary, juce::MemoryBlock ("garbage\n", 8));
    juce::MemoryOutputStream hugeHeader;
    hugeHeader.writeInt ((int)HandOverFrame::marker);
    hugeHeader.writeInt (0x7fffffff);
    const auto huge = connectAndWrite (primary, hugeHeader.getMemoryBlock());
    // Half a message, and then silence: the listener must not wait for it for ever.
    auto encoded = HandOverFrame::encode ("/tmp/never-finished.marlo");
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

TEST_F (InstanceHandOverTest, WithoutAConfirmationTheLaunchRunsAloneAndTheFileIsNotOpenedTwice)
{
    InstanceHandOver primary (name, folder.get());
    ASSERT_EQ (primary.start ({}, recorder()), Role::primary);

    // The running instance's message thread is busy (this test does not run its loop), so nobody
    // takes the file in time.
    auto role = std::async (std::launch::async,
                            [this]
                            {
                                InstanceHandOver later (name, folder.get());
                                return later.start ("/tmp/busy.marlo", nullptr);
                            });
    EXPECT_EQ (role.get(), Role::alone);

    // When the message thread comes back, the abandoned file is not opened there as well.
    runMessageLoopFor (200);
    EXPECT_TRUE (received.isEmpty());
}

TEST_F (InstanceHandOverTest, ADeadInstancesLeftoversDoNotStopTheNextOne)
{
    {
        InstanceHandOver first (name, folder.get());
        ASSERT_EQ (first.start ({}, recorder()), Role::primary);
    }

    // As after a crash: the socket file is still there, nobody listens.
    InstanceHandOver probe (name, folder.get());
    ASSERT_TRUE (probe.getSocketFile().create());

    InstanceHandOver next (name, folder.get());
    ASSERT_EQ (next.start ({}, recorder()), Role::primary);
    struct stat info
    {
    };
    ASSERT_EQ (::lstat (next.getSocketFile().getFullPathName().toRawUTF8(), &info), 0);
    EXPECT_TRUE (S_ISSOCK (info.st_mode));
    EXPECT_EQ (launch ("/tmp/b.marlo"), Role::handedOver);
    EXPECT_EQ (received, juce::StringArray ({"/tmp/b.marlo"}));
}
