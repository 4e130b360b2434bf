#pragma once

#include "preset/MonitoredMessage.h"

#include <array>
#include <juce_audio_basics/juce_audio_basics.h>

/** What a monitor keeps of one MIDI message, in a fixed size so that the MIDI thread can hand it
    over without allocating: a short message whole, a system-exclusive message's length and its
    first bytes (enough to tell the controller's preset messages apart).
*/
struct MonitorRecord
{
    enum class Direction : juce::uint8
    {
        in, ///< received from the chosen input
        out ///< sent by the editor
    };

    static constexpr int keptBytes = 16;

    std::array<juce::uint8, keptBytes> bytes{};
    /** How many of `bytes` hold the message's bytes. */
    juce::uint8 keptSize = 0;
    Direction direction = Direction::in;
    /** The whole message's length. */
    int length = 0;
    /** Counts every record made, so that received and sent messages interleave as they happened. */
    juce::uint64 sequence = 0;
    /** When it was recorded, in milliseconds on the monitor's clock. */
    double timeMs = 0.0;

    static MonitorRecord of (const juce::MidiMessage& message, Direction direction, juce::uint64 sequence,
                             double timeMs) noexcept
    {
        MonitorRecord record;
        const auto* data = message.getRawData();
        record.length = message.getRawDataSize();
        record.keptSize = static_cast<juce::uint8> (juce::jmin (record.length, keptBytes));
        std::copy (data, data + record.keptSize, record.bytes.begin());
        record.direction = direction;
        record.sequence = sequence;
        record.timeMs = timeMs;
        return record;
    }

    MonitoredMessage describe() const { return MonitoredMessage::decode (bytes.data(), keptSize, length); }
};
