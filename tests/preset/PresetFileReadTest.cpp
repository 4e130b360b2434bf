#include <gtest/gtest.h>

#include "support/SysExBytes.h"
#include "support/SystemUnderTest.h"

#include "preset/PresetFile.h"
#include "preset/PresetLayout.h"

namespace
{
class PresetFileReadTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE (folder.getFile().createDirectory().wasOk()); }
    void TearDown() override { folder.getFile().deleteRecursively(); }

    juce::File file (const juce::String& name) const { return folder.getFile().getChildFile (name); }

    /** A file of `size` bytes that takes no space: reading it would still cost `size` bytes. */
    juce::File sparse (const juce::String& name, juce::int64 size) const
    {
        EXPECT_TRUE (SystemUnderTest::makeSized (file (name), size));
        return file (name);
    }

    /** Reads and expects a refusal of a file that could not be read; gives the reason. */
    static juce::String refusalOf (const juce::File& refused)
    {
        PresetCodec::Image image;
        PresetFile::Reading reading;
        const auto read = PresetFile::read (refused, image, &reading);
        EXPECT_TRUE (read.failed()) << refused.getFullPathName();
        EXPECT_TRUE (reading.unreadable) << refused.getFullPathName();
        EXPECT_TRUE (image.isEmpty());
        return read.getErrorMessage();
    }

    juce::TemporaryFile folder;
};
} // namespace

TEST_F (PresetFileReadTest, WhatIsNotARegularFileIsRefusedUnread)
{
    EXPECT_EQ (refusalOf (folder.getFile()), "is a folder, not a preset file");
    EXPECT_EQ (refusalOf (file ("missing.marlo")), "no such file");
    // Reading either of these would block for ever or never end.
    if (!SystemUnderTest::makePipe (file ("pipe.marlo").getFullPathName()))
        GTEST_SKIP() << "this system has no named pipe in a folder, nor a device by path";
    EXPECT_EQ (refusalOf (file ("pipe.marlo")), "is a pipe, not a preset file");
    EXPECT_EQ (refusalOf (juce::File (SystemUnderTest::endlessDevice())), "is a device, not a preset file");
}

TEST_F (PresetFileReadTest, AFileLargerThanOneMebibyteIsRefusedUnread)
{
    EXPECT_EQ (refusalOf (sparse ("huge.marlo", juce::int64{1} << 30)),
               "the file holds 1073741824 bytes; a preset file holds at most 1048576");
    EXPECT_EQ (refusalOf (sparse ("just-over.marlo", PresetFile::largestFile + 1)),
               "the file holds 1048577 bytes; a preset file holds at most 1048576");

    juce::MemoryBlock content;
    ASSERT_TRUE (PresetFile::readContent (sparse ("limit.marlo", PresetFile::largestFile), content).wasOk());
    EXPECT_EQ (content.getSize(), static_cast<size_t> (PresetFile::largestFile));
}

TEST_F (PresetFileReadTest, APresetIsReadThroughALinkAndAnInvalidOneIsNotUnreadable)
{
    PresetFile::Reading reading;
    ASSERT_TRUE (file ("long.marlo").replaceWithText (juce::String::repeatedString ("x", 104)));
    PresetCodec::Image untouched;
    const auto invalid = PresetFile::read (file ("long.marlo"), untouched, &reading);
    EXPECT_FALSE (reading.unreadable);
    EXPECT_TRUE (reading.foreign);
    EXPECT_EQ (invalid.getErrorMessage(), "no preset dump: no system-exclusive message");
    EXPECT_TRUE (untouched.isEmpty());

    auto written = factoryPresetData();
    written.set (44, 70);
    ASSERT_TRUE (PresetFile::write (file ("real.marlo"), written).wasOk());
    if (!juce::File::createSymbolicLink (file ("link.marlo"), "real.marlo", false))
        GTEST_SKIP() << "no symbolic link can be made here";

    PresetCodec::Image image;
    reading.unreadable = true;
    ASSERT_TRUE (PresetFile::read (file ("link.marlo"), image, &reading).wasOk());
    EXPECT_FALSE (reading.unreadable);
    EXPECT_FALSE (reading.foreign);
    EXPECT_EQ (image, written);
}

TEST_F (PresetFileReadTest, OnlyExactlyAPresetFileIsReadAsOneAnythingElseIsForeign)
{
    using namespace SysExBytes;
    const auto image = factoryPresetData();
    auto lastByteChanged = presetMessage (image);
    lastByteChanged.back() = 0x00;
    auto withoutEnd = presetMessage (image);
    withoutEnd.pop_back();
    const struct
    {
        const char* name;
        Bytes bytes;
        bool foreign;
        int presets;
    } files[]{
        {"saved.marlo", presetMessage (image), false, 1},
        // Its last byte is not examined: it is still the editor's own file.
        {"last-byte.marlo", lastByteChanged, false, 1},
        {"reply.syx", presetMessage (image, replyCommand), true, 1},
        {"no-end.syx", withoutEnd, true, 1},
        {"two.syx", join ({presetMessage (image), identityReply, presetMessage (image)}), true, 2},
    };
    for (const auto& test : files)
    {
        ASSERT_TRUE (file (test.name).replaceWithData (test.bytes.data(), test.bytes.size()));
        PresetCodec::Image read;
        PresetFile::Reading reading;
        EXPECT_TRUE (PresetFile::read (file (test.name), read, &reading).wasOk()) << test.name;
        EXPECT_EQ (read, image) << test.name;
        EXPECT_EQ (reading.foreign, test.foreign) << test.name;
        EXPECT_EQ (PresetFile::isForeign (file (test.name)), test.foreign) << test.name;
        EXPECT_EQ (reading.presets, test.presets) << test.name;
    }
    EXPECT_FALSE (PresetFile::isForeign (file ("missing.syx")));
}
