#include <gtest/gtest.h>

#include "preset/PresetCodec.h"
#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"

namespace
{
constexpr int keybedChannel = 2;
const int pad1 = controlOffset (ControlType::Pad, 1);

PresetCodec::Image validImage()
{
    return factoryPresetData();
}

juce::MidiMessage replyCarrying (const juce::uint8* payload, int size)
{
    auto data = createReplyHeader();
    data.addArray (payload, size);
    return juce::MidiMessage::createSysExMessage (data.getRawDataPointer(), data.size());
}

/** Every phrase must be in the refusal. */
void expectRefusal (const juce::Result& result, std::initializer_list<const char*> phrases)
{
    ASSERT_TRUE (result.failed());
    for (const auto* phrase : phrases)
        EXPECT_TRUE (result.getErrorMessage().contains (phrase))
            << "\"" << phrase << "\" missing from: " << result.getErrorMessage();
}
} // namespace

TEST (PresetCodecTest, ARefusalNamesTheByteItsParametersTheValueAndTheRange)
{
    auto image = validImage();
    image.set (keybedChannel, 16);
    expectRefusal (PresetCodec::checkImage (image),
                   {"byte 2 ", "Keybed MIDI Channel", "holds 16", "range 0 to 15"});

    // A mode selector's range is its list of modes.
    image = validImage();
    image.set (pad1, 4);
    expectRefusal (PresetCodec::checkImage (image), {"byte 33 ", "Pad 1 Mode", "holds 4", "0 to 3"});
}

TEST (PresetCodecTest, APadsFourthByteTakesTheRangeItsModeSelects)
{
    auto image = validImage();
    const int shared = pad1 + 3;

    image.set (pad1, 0); // Note: a curve, 0 to 7
    image.set (shared, 7);
    EXPECT_TRUE (PresetCodec::checkImage (image).wasOk());
    image.set (shared, 8);
    expectRefusal (PresetCodec::checkImage (image),
                   {"byte 36 ", "Pad 1 Bank MSB, Curve, Released, Toggle Off", "holds 8", "0 to 7",
                    "of Pad 1 Curve", "Pad 1 Mode is Note"});

    // Every controller mode takes the whole data range there.
    for (int mode = 1; mode <= 3; ++mode)
    {
        image.set (pad1, static_cast<juce::uint8> (mode));
        image.set (shared, 127);
        EXPECT_TRUE (PresetCodec::checkImage (image).wasOk()) << mode;
        image.set (shared, 128);
        expectRefusal (PresetCodec::checkImage (image), {"holds 128", "0 to 127"});
    }
}

TEST (PresetCodecTest, FilesOfAnyOtherSizeOrHeaderAreRefusedAndTheImageIsKept)
{
    const auto good = PresetCodec::encodeFile (validImage());
    ASSERT_EQ (good.getSize(), 103u);

    PresetCodec::Image image;
    image.add (42);
    for (const size_t size : {size_t (0), size_t (102), size_t (104)})
    {
        juce::MemoryBlock content (good);
        content.setSize (size, true);
        expectRefusal (PresetCodec::decodeFile (content.getData(), content.getSize(), image),
                       {"exactly 103"});
        EXPECT_EQ (image.size(), 1) << "a refused file leaves the image as it was";
    }

    juce::MemoryBlock wrongHeader (good);
    static_cast<juce::uint8*> (wrongHeader.getData())[5] = 0x42;
    expectRefusal (PresetCodec::decodeFile (wrongHeader.getData(), wrongHeader.getSize(), image),
                   {"file byte 5 is 42", "not a preset"});

    juce::MemoryBlock outOfRange (good);
    static_cast<juce::uint8*> (outOfRange.getData())[9 + keybedChannel] = 99;
    expectRefusal (PresetCodec::decodeFile (outOfRange.getData(), outOfRange.getSize(), image),
                   {"preset byte 2 (file byte 11)", "Keybed MIDI Channel", "holds 99"});

    ASSERT_TRUE (PresetCodec::decodeFile (good.getData(), good.getSize(), image).wasOk());
    EXPECT_EQ (image, validImage());
}

TEST (PresetCodecTest, RepliesAreCheckedLikeFiles)
{
    const auto payload = validImage();
    PresetCodec::Image image;

    expectRefusal (PresetCodec::decodeReply (replyCarrying (payload.getRawDataPointer(), 50), image),
                   {"carries 50 of the 93"});
    expectRefusal (PresetCodec::decodeReply (juce::MidiMessage::noteOn (1, 60, 0.5f), image),
                   {"not the controller's preset reply"});
    const auto request = createRequestHeader();
    expectRefusal (
        PresetCodec::decodeReply (
            juce::MidiMessage::createSysExMessage (request.getRawDataPointer(), request.size()), image),
        {"not the controller's preset reply"});

    auto bad = payload;
    bad.set (pad1, 0);
    bad.set (pad1 + 3, 20); // a curve of 20 in mode Note
    expectRefusal (PresetCodec::decodeReply (replyCarrying (bad.getRawDataPointer(), bad.size()), image),
                   {"reply's preset byte 36", "Pad 1 Mode is Note"});
    EXPECT_TRUE (image.isEmpty());

    // Bytes beyond the image are ignored.
    auto longer = payload;
    longer.addArray ({1, 2, 3});
    ASSERT_TRUE (
        PresetCodec::decodeReply (replyCarrying (longer.getRawDataPointer(), longer.size()), image).wasOk());
    EXPECT_EQ (image, payload);
}
