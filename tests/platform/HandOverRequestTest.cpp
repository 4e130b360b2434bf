#include <gtest/gtest.h>

#include "support/SystemUnderTest.h"
#include "support/TemporaryFolder.h"

#include "platform/HandOverRequest.h"

namespace
{
int requestsIn (const juce::File& folder)
{
    return folder.getNumberOfChildFiles (juce::File::findFiles,
                                         juce::String ("*") + HandOverRequest::extension);
}

/** A test's folder, open as the hand-over's own is. */
struct RequestFolder
{
    RequestFolder() { EXPECT_TRUE (PrivateFolder::open (folder.get(), false, opened).wasOk()); }

    TemporaryFolder folder;
    PrivateFolder opened;
};
} // namespace

TEST (HandOverRequestTest, TheEditorTakesFirstAndTheLaunchCannotGiveItUp)
{
    RequestFolder requests;
    const auto& folder = requests.folder;
    auto request = HandOverRequest::create (requests.opened);
    ASSERT_NE (request, nullptr);
    EXPECT_EQ (requestsIn (folder.get()), 1);

    EXPECT_TRUE (HandOverRequest::take (requests.opened, request->getId()));
    // The launch, late: the editor has it, so the launch must not open it too.
    EXPECT_FALSE (request->giveUp());
    // Nor can a second message with the same request open it a second time.
    EXPECT_FALSE (HandOverRequest::take (requests.opened, request->getId()));
    EXPECT_EQ (requestsIn (folder.get()), 0);
}

TEST (HandOverRequestTest, TheLaunchGivesUpFirstAndTheEditorCannotTakeIt)
{
    RequestFolder requests;
    const auto& folder = requests.folder;
    auto request = HandOverRequest::create (requests.opened);
    ASSERT_NE (request, nullptr);

    EXPECT_TRUE (request->giveUp());
    // The editor, woken late: the launch opens the file itself.
    EXPECT_FALSE (HandOverRequest::take (requests.opened, request->getId()));
    EXPECT_EQ (requestsIn (folder.get()), 0);

    // Another launch's request is not affected by either.
    auto other = HandOverRequest::create (requests.opened);
    ASSERT_NE (other, nullptr);
    EXPECT_NE (other->getId(), request->getId());
    EXPECT_FALSE (HandOverRequest::take (requests.opened, request->getId()));
    EXPECT_TRUE (HandOverRequest::take (requests.opened, other->getId()));
}

TEST (HandOverRequestTest, OnlyRequestsOfLaunchesThatEndedAreSweptAway)
{
    RequestFolder requests;
    const auto& folder = requests.folder;
    const auto waiting = HandOverRequest::create (requests.opened);
    ASSERT_NE (waiting, nullptr);

    // A launch that ended without deciding leaves its file unlocked.
    auto ended = HandOverRequest::create (requests.opened);
    ASSERT_NE (ended, nullptr);
    const auto endedFile = folder / HandOverRequest::nameFor (ended->getId());
    ended.reset();
    ASSERT_TRUE (endedFile.existsAsFile());

    // Neither something else nor what a link of that name points to is touched.
    const auto unrelated = folder / "notes.txt";
    ASSERT_TRUE (unrelated.create());
    const auto target = folder / "target";
    ASSERT_TRUE (target.create());
    // Windows lets only the privileged make links; the rest of the test needs none.
    const auto linked = target.createSymbolicLink (folder / "link.request", true);
    ASSERT_TRUE (linked || !SystemUnderTest::isPosix);

    HandOverRequest::removeAbandoned (requests.opened);

    EXPECT_FALSE (endedFile.exists());
    EXPECT_TRUE ((folder / HandOverRequest::nameFor (waiting->getId())).existsAsFile());
    EXPECT_TRUE (unrelated.existsAsFile());
    EXPECT_TRUE (target.existsAsFile());
    // The waiting launch's race is still open, and still decided by one step.
    EXPECT_TRUE (HandOverRequest::take (requests.opened, waiting->getId()));
}

TEST (HandOverRequestTest, NoFolderNoRequest)
{
    const PrivateFolder missing;
    EXPECT_EQ (HandOverRequest::create (missing), nullptr);
}
