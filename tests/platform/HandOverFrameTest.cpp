#include <gtest/gtest.h>

#include "platform/HandOverFrame.h"

#include <cstring>

namespace
{
using State = HandOverFrame::State;

constexpr juce::uint64 requestId = 0x0123456789abcdefull;

juce::MemoryBlock header (juce::uint32 marker, juce::uint32 length)
{
    juce::MemoryOutputStream out;
    out.writeInt ((int)marker);
    out.writeInt64 ((juce::int64)requestId);
    out.writeInt ((int)length);
    return out.getMemoryBlock();
}

State feed (HandOverFrame& frame, const juce::MemoryBlock& block)
{
    return frame.append (block.getData(), block.getSize());
}
} // namespace

TEST (HandOverFrameTest, ACommandLineArrivesWholeEvenByteByByte)
{
    for (const auto& text : {juce::String(), juce::String ("/home/ann/Presets/Stage Piano.marlo"),
                             juce::String (juce::CharPointer_UTF8 ("/tmp/K\xc3\xa4se \xe2\x99\xab.marlo"))})
    {
        const auto encoded = HandOverFrame::encode (requestId, text);
        EXPECT_EQ (encoded.getSize(), (size_t)HandOverFrame::headerBytes + text.getNumBytesAsUTF8());

        HandOverFrame whole;
        EXPECT_EQ (feed (whole, encoded), State::complete);
        EXPECT_EQ (whole.getText(), text);
        EXPECT_EQ (whole.getRequestId(), requestId);

        HandOverFrame piecewise;
        for (size_t i = 0; i + 1 < encoded.getSize(); ++i)
            ASSERT_EQ (piecewise.append (static_cast<const char*> (encoded.getData()) + i, 1),
                       State::incomplete)
                << "at byte " << i;
        EXPECT_TRUE (piecewise.getText().isEmpty());
        EXPECT_EQ (piecewise.getRequestId(), 0u);
        EXPECT_EQ (piecewise.append (static_cast<const char*> (encoded.getData()) + encoded.getSize() - 1, 1),
                   State::complete);
        EXPECT_EQ (piecewise.getText(), text);
    }
}

TEST (HandOverFrameTest, GarbageIsRefusedAtItsFirstWrongByte)
{
    HandOverFrame frame;
    EXPECT_EQ (frame.append ("hello, editor", 13), State::malformed);
    EXPECT_TRUE (frame.getText().isEmpty());

    // Two right bytes of the marker, then a wrong one.
    HandOverFrame partlyRight;
    const auto encoded = HandOverFrame::encode (requestId, "x");
    EXPECT_EQ (partlyRight.append (encoded.getData(), 2), State::incomplete);
    EXPECT_EQ (partlyRight.append ("?", 1), State::malformed);

    // Once malformed, a frame stays so, whatever follows.
    EXPECT_EQ (feed (partlyRight, encoded), State::malformed);
}

TEST (HandOverFrameTest, LengthsOverTheCapAreRefusedFromTheHeaderAlone)
{
    HandOverFrame huge;
    EXPECT_EQ (feed (huge, header (HandOverFrame::marker, 0xffffffffu)), State::malformed);

    HandOverFrame justOver;
    EXPECT_EQ (feed (justOver, header (HandOverFrame::marker, HandOverFrame::maxTextBytes + 1)),
               State::malformed);

    // The cap itself is allowed.
    const juce::String longest = juce::String::repeatedString ("a", HandOverFrame::maxTextBytes);
    HandOverFrame atCap;
    EXPECT_EQ (feed (atCap, HandOverFrame::encode (requestId, longest)), State::complete);
    EXPECT_EQ (atCap.getText().length(), HandOverFrame::maxTextBytes);
}

TEST (HandOverFrameTest, TrailingBytesAndBrokenTextAreRefused)
{
    HandOverFrame trailing;
    auto encoded = HandOverFrame::encode (requestId, "/tmp/a.marlo");
    encoded.append ("zz", 2);
    EXPECT_EQ (feed (trailing, encoded), State::malformed);

    HandOverFrame afterwards;
    EXPECT_EQ (feed (afterwards, HandOverFrame::encode (requestId, "/tmp/a.marlo")), State::complete);
    EXPECT_EQ (afterwards.append ("z", 1), State::malformed);
    EXPECT_TRUE (afterwards.getText().isEmpty());

    // Broken UTF-8, and an overlong "/" that a lenient decoder would turn into another path.
    for (const auto* broken : {"\xc3\x28", "a\xc0\xaf"
                                           "b"})
    {
        HandOverFrame notUtf8;
        const auto length = (juce::uint32)std::strlen (broken);
        auto bad = header (HandOverFrame::marker, length);
        bad.append (broken, length);
        EXPECT_EQ (feed (notUtf8, bad), State::malformed) << broken;
    }
}

TEST (HandOverFrameTest, AnEarlierBuildsLaunchIsRefused)
{
    // Its marker, then a length and a path: such a launch knows no request to decide the race by.
    juce::MemoryOutputStream earlier;
    earlier.writeInt (0x4d61726c);
    earlier.writeInt (12);
    earlier.write ("/tmp/a.marlo", 12);

    HandOverFrame frame;
    EXPECT_EQ (feed (frame, earlier.getMemoryBlock()), State::malformed);
}
