#include <gtest/gtest.h>

#include "platform/LocalSocket.h"
#include "support/SystemUnderTest.h"
#include "support/TemporaryFolder.h"

TEST (LocalSocketTest, APathTooLongToSpellOutStillHasASocketOfItsOwn)
{
    const TemporaryFolder folder;
    // Spaces are spelled out in five characters each in a pipe's name.
    const auto deep = folder / juce::String::repeatedString (" ", 60);
    const auto first = deep.getChildFile ("first");
    const auto second = deep.getChildFile ("second");
    if (SystemUnderTest::isPosix)
        GTEST_SKIP() << "a socket file's name is cut short here; InstanceHandOver moves it to a short folder";
    ASSERT_TRUE (LocalSocket::fits (first));

    LocalSocket listening;
    ASSERT_TRUE (LocalSocket::listen (first, 1, listening).wasOk());
    LocalSocket connection;
    EXPECT_TRUE (LocalSocket::connect (second, 1000, connection).failed());
    ASSERT_TRUE (LocalSocket::connect (first, 1000, connection).wasOk());
    const char byte = 'x';
    ASSERT_TRUE (connection.sendAll (&byte, 1));
    const auto ready = LocalSocket::readable ({&listening}, 10000);
    ASSERT_TRUE (!ready.empty() && ready[0]);
    LocalSocket accepted;
    ASSERT_TRUE (listening.accept (accepted));
    char received = 0;
    ASSERT_TRUE (LocalSocket::readable ({&accepted}, 10000)[0]);
    EXPECT_EQ (accepted.receive (&received, 1).bytes, 1u);
    EXPECT_EQ (received, 'x');
}
