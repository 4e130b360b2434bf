#include "preset/PresetMessages.h"

#include "preset/PresetLayout.h"

namespace
{
enum Command : juce::uint8
{
    presetDump = 0x61,
    presetRequest = 0x62,
    presetReply = 0x63
};

juce::Array<juce::uint8> createHeader (juce::uint8 command)
{
    // The length travels in every header, the request's too, although the request has no payload.
    const auto length = presetDataLength();
    return {0x00,
            0x3A,
            0x6C,
            0x00,
            0x43,
            command,
            static_cast<juce::uint8> (length >> 7),
            static_cast<juce::uint8> (length & 0x7F)};
}
} // namespace

juce::Array<juce::uint8> createDumpHeader()
{
    return createHeader (presetDump);
}

juce::Array<juce::uint8> createRequestHeader()
{
    return createHeader (presetRequest);
}

juce::Array<juce::uint8> createReplyHeader()
{
    return createHeader (presetReply);
}
