#include <gtest/gtest.h>

#include "preset/PresetMessages.h"

#include <juce_audio_basics/juce_audio_basics.h>

TEST (PresetMessages, HeadersCarryTheMakerTheCommandAndTheLength)
{
    EXPECT_EQ (createDumpHeader(),
               juce::Array<juce::uint8> ({0x00, 0x3A, 0x6C, 0x00, 0x43, 0x61, 0x00, 0x5D}));
    EXPECT_EQ (createRequestHeader(),
               juce::Array<juce::uint8> ({0x00, 0x3A, 0x6C, 0x00, 0x43, 0x62, 0x00, 0x5D}));
    EXPECT_EQ (createReplyHeader(),
               juce::Array<juce::uint8> ({0x00, 0x3A, 0x6C, 0x00, 0x43, 0x63, 0x00, 0x5D}));
}

TEST (PresetMessages, RequestIsTenBytesWithItsFrame)
{
    const auto header = createRequestHeader();
    const auto message = juce::MidiMessage::createSysExMessage (header.getRawDataPointer(), header.size());
    const juce::uint8 expected[] = {0xF0, 0x00, 0x3A, 0x6C, 0x00, 0x43, 0x62, 0x00, 0x5D, 0xF7};
    ASSERT_EQ (message.getRawDataSize(), 10);
    EXPECT_EQ (0, memcmp (message.getRawData(), expected, sizeof (expected)));
}
