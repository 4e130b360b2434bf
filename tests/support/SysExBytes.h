#pragma once

#include "preset/PresetCodec.h"
#include "preset/PresetMessages.h"

#include <initializer_list>
#include <vector>

/** Bytes as other MIDI programs save them: the pieces a librarian's or a monitor's file is made of. */
namespace SysExBytes
{
using Bytes = std::vector<juce::uint8>;

constexpr juce::uint8 dumpCommand = 0x61;
constexpr juce::uint8 replyCommand = 0x63;

/** F0, the Marlo's header with `command`, the image, then F7. */
inline Bytes presetMessage (const PresetCodec::Image& image, juce::uint8 command = dumpCommand)
{
    auto header = createDumpHeader();
    header.set (5, command);
    // Room for the whole message first: grown from one byte, GCC 12 at -O3 warns of a copy out of
    // bounds that cannot happen.
    Bytes bytes;
    bytes.reserve (static_cast<size_t> (header.size() + image.size() + 2));
    bytes.push_back (0xF0);
    bytes.insert (bytes.end(), header.begin(), header.end());
    bytes.insert (bytes.end(), image.begin(), image.end());
    bytes.push_back (0xF7);
    return bytes;
}

/** A universal identity reply, as a monitor records it after asking the devices who they are. */
inline const Bytes identityReply{0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x41, 0x10, 0x01,
                                 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xF7};
/** Other makers' parameter messages. */
inline const Bytes firstMakersMessage{0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
inline const Bytes secondMakersMessage{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};

inline Bytes join (std::initializer_list<Bytes> parts)
{
    Bytes joined;
    for (const auto& part : parts)
        joined.insert (joined.end(), part.begin(), part.end());
    return joined;
}
} // namespace SysExBytes
