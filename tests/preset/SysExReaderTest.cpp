#include <gtest/gtest.h>

#include "support/SysExBytes.h"

#include "preset/PresetLayout.h"
#include "preset/SysExReader.h"

#include <optional>

using namespace SysExBytes;

namespace
{
constexpr int keybedChannel = 2;

PresetCodec::Image edited (int offset, int value)
{
    auto image = factoryPresetData();
    image.set (offset, static_cast<juce::uint8> (value));
    return image;
}

/** The dump with `byte` put in before the data byte at `at` (0 is the first byte after F0). */
Bytes withByteInside (Bytes message, size_t at, juce::uint8 byte)
{
    message.insert (message.begin() + static_cast<std::ptrdiff_t> (at + 1), byte);
    return message;
}

Bytes withoutLast (Bytes bytes, size_t count)
{
    bytes.resize (bytes.size() - count);
    return bytes;
}

struct Case
{
    const char* what;
    Bytes bytes;
    /** The preset read; none when the bytes are refused. */
    std::optional<PresetCodec::Image> image;
    /** The refusal's words, when refused. */
    std::vector<const char*> phrases;
    int messages;
    int presets;
};

std::vector<Case> cases()
{
    const auto factory = factoryPresetData();
    const auto other = edited (keybedChannel, 9);
    const auto dump = presetMessage (factory);
    const auto clockAndSensing = withByteInside (withByteInside (dump, 40, 0xF8), 70, 0xFE);
    auto longer = presetMessage (other);
    longer.insert (longer.end() - 1, {1, 2, 3, 4});

    return {
        {"a dump as Send writes it", dump, factory, {}, 1, 1},
        {"a dump with clock and active sensing inside it", clockAndSensing, factory, {}, 1, 1},
        {"three makers' messages, the dump second",
         join ({firstMakersMessage, presetMessage (other), secondMakersMessage}),
         other,
         {},
         3,
         1},
        {"bytes before the first message",
         join ({{0x00, 0x7F, 0x90, 0x3C, 0x40, 0xF7}, dump}),
         factory,
         {},
         1,
         1},
        {"an identity reply and empty messages before the reply",
         join ({identityReply, {0xF0, 0xF7, 0xF0, 0xF7}, presetMessage (other, replyCommand)}),
         other,
         {},
         4,
         1},
        {"more than 93 preset bytes", longer, other, {}, 1, 1},
        {"a second preset is noted, the first is read",
         join ({presetMessage (other), presetMessage (factory)}),
         other,
         {},
         2,
         2},
        {"a truncated last message after the dump",
         join ({dump, withoutLast (presetMessage (other), 60)}),
         factory,
         {},
         2,
         1},
        {"a capture that stopped just before F7", withoutLast (dump, 1), factory, {}, 1, 1},
        {"a truncated dump alone",
         join ({firstMakersMessage, withoutLast (dump, 51)}),
         std::nullopt,
         {"no preset dump among 2 messages", "one carries 43 of the 93 preset bytes"},
         2,
         0},
        {"no dump among other makers' messages",
         join ({firstMakersMessage, identityReply, secondMakersMessage}),
         std::nullopt,
         {"no preset dump among 3 messages"},
         3,
         0},
        {"the request is no preset",
         join ({{0xF0}, {0x00, 0x3A, 0x6C, 0x00, 0x43, 0x62, 0x00, 0x5D}, {0xF7}}),
         std::nullopt,
         {"no preset dump among 1 message"},
         1,
         0},
        {"a status byte inside a dump ends it",
         withByteInside (dump, 50, 0x90),
         std::nullopt,
         {"no preset dump among 1 message", "one carries 42 of the 93"},
         1,
         0},
        {"no system-exclusive message at all",
         {0x90, 0x3C, 0x40, 0x80, 0x3C, 0x00},
         std::nullopt,
         {"no system-exclusive"},
         0,
         0},
        // The channel byte stands at data byte 10, file byte 11; the clock before it moves it to 12.
        {"a byte out of range, named as the codec names it",
         withByteInside (presetMessage (edited (keybedChannel, 99)), 3, 0xF8),
         std::nullopt,
         {"preset byte 2 (file byte 12)", "Keybed MIDI Channel", "holds 99", "range 0 to 15"},
         1,
         1},
    };
}
} // namespace

TEST (SysExReaderTest, FindsThePresetAmongWhatOtherProgramsSave)
{
    for (const auto& test : cases())
    {
        SCOPED_TRACE (test.what);
        PresetCodec::Image image{1, 2, 3};
        SysExReader::Summary summary;
        const auto result = SysExReader::read (test.bytes.data(), test.bytes.size(), image, &summary);

        EXPECT_EQ (summary.messages, test.messages);
        EXPECT_EQ (summary.presets, test.presets);
        if (test.image.has_value())
        {
            EXPECT_TRUE (result.wasOk()) << result.getErrorMessage();
            EXPECT_EQ (image, *test.image);
            continue;
        }
        ASSERT_TRUE (result.failed());
        for (const auto* phrase : test.phrases)
            EXPECT_TRUE (result.getErrorMessage().contains (phrase))
                << "\"" << phrase << "\" missing from: " << result.getErrorMessage();
        EXPECT_EQ (image, (PresetCodec::Image{1, 2, 3})) << "a refusal leaves the image as it was";
    }
}
