#include <gtest/gtest.h>

#include "platform/PrivateFolder.h"
#include "support/SystemUnderTest.h"
#include "support/TemporaryFolder.h"

#include <cstring>
#include <vector>

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

TEST (PrivateFolderTest, AnAccessListWithAnEntryOfAKindNotCheckedIsRefused)
{
#if JUCE_WINDOWS
    const TemporaryFolder temporary;
    const auto path = temporary / "shared";
    ASSERT_TRUE (path.createDirectory().wasOk());
    // The system alone, and an entry for one part of the folder open to everybody.
    BYTE system[SECURITY_MAX_SID_SIZE], everybody[SECURITY_MAX_SID_SIZE];
    DWORD systemSize = sizeof (system), everybodySize = sizeof (everybody);
    std::vector<BYTE> listBytes (1024);
    auto* made = reinterpret_cast<PACL> (listBytes.data());
    SECURITY_DESCRIPTOR descriptor{};
    ASSERT_TRUE (CreateWellKnownSid (WinLocalSystemSid, nullptr, system, &systemSize));
    ASSERT_TRUE (CreateWellKnownSid (WinWorldSid, nullptr, everybody, &everybodySize));
    ASSERT_TRUE (InitializeAcl (made, (DWORD)listBytes.size(), ACL_REVISION_DS));
    ASSERT_TRUE (AddAccessAllowedAce (made, ACL_REVISION_DS, GENERIC_ALL, system));
    // An object entry without its parts' identifiers: the header, the mask, the flags, the SID.
    std::vector<BYTE> entry (12 + everybodySize);
    auto* header = reinterpret_cast<ACE_HEADER*> (entry.data());
    header->AceType = ACCESS_ALLOWED_OBJECT_ACE_TYPE;
    header->AceSize = (WORD)entry.size();
    *reinterpret_cast<DWORD*> (entry.data() + 4) = GENERIC_ALL;
    std::memcpy (entry.data() + 12, everybody, everybodySize);
    ASSERT_TRUE (AddAce (made, ACL_REVISION_DS, MAXDWORD, entry.data(), (DWORD)entry.size()));
    ASSERT_TRUE (InitializeSecurityDescriptor (&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE (SetSecurityDescriptorDacl (&descriptor, TRUE, made, FALSE));
    const auto set =
        SetFileSecurityW (path.getFullPathName().toWideCharPointer(), DACL_SECURITY_INFORMATION, &descriptor);
    if (!set && SystemUnderTest::runsUnderWine())
        GTEST_SKIP() << "Wine: its server takes no access list with an entry for an object's parts";
    ASSERT_TRUE (set);

    PrivateFolder folder;
    const auto opened = PrivateFolder::open (path, false, folder);
    EXPECT_TRUE (opened.getErrorMessage().contains ("an entry of a kind not checked"))
        << opened.getErrorMessage();
    EXPECT_FALSE (folder.isOpen());
#else
    GTEST_SKIP() << "an access list of entries of several kinds is Windows'";
#endif
}
