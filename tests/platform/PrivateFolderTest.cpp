#include <gtest/gtest.h>

#include "platform/PrivateFolder.h"
#include "support/TemporaryFolder.h"

TEST (PrivateFolderTest, ARemovedFileLeavesNoNameBehindEvenWhenItIsReadOnly)
{
    const TemporaryFolder temporary;
    PrivateFolder folder;
    ASSERT_TRUE (PrivateFolder::open (temporary / "private", true, folder).wasOk());
    const juce::String content ("kept");
    for (const auto* name : {"plain", "read-only"})
        ASSERT_TRUE (folder.write (name, content.toRawUTF8(), content.getNumBytesAsUTF8()).wasOk());
    ASSERT_TRUE ((temporary / "private").getChildFile ("read-only").setReadOnly (true));

    EXPECT_TRUE (folder.remove ("plain"));
    EXPECT_TRUE (folder.remove ("read-only"));
    EXPECT_FALSE (folder.remove ("read-only"));
    EXPECT_EQ (folder.names(), juce::StringArray());
}
