#include "preset/SysExReader.h"

#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"

#include <vector>

namespace
{
constexpr juce::uint8 messageStart = 0xF0;
constexpr juce::uint8 messageEnd = 0xF7;
constexpr juce::uint8 firstRealTime = 0xF8;

/** One message's data bytes (F0 and F7 not counted) and where each stood in the input, so that a
    refusal can name the byte a user finds with a hex viewer. */
struct Message
{
    std::vector<juce::uint8> data;
    std::vector<size_t> positions;

    void clear()
    {
        data.clear();
        positions.clear();
    }
};

enum class Kind
{
    other,
    shortPreset,
    preset
};

/** A dump as the files and Send write it, or the controller's reply as a monitor captures it. */
Kind kindOf (const Message& message)
{
    static const auto dump = createDumpHeader();
    static const auto reply = createReplyHeader();
    const auto size = static_cast<int> (message.data.size());
    if (size < presetHeaderSize)
        return Kind::other;
    const auto* data = message.data.data();
    if (!std::equal (dump.begin(), dump.end(), data) && !std::equal (reply.begin(), reply.end(), data))
        return Kind::other;
    return size - presetHeaderSize >= presetDataLength() ? Kind::preset : Kind::shortPreset;
}

/** Walks the messages once, keeping only what the result needs. */
class Scan
{
public:
    void take (const juce::uint8* bytes, size_t size)
    {
        bool inside = false;
        for (size_t i = 0; i < size; ++i)
        {
            const auto byte = bytes[i];
            // Real-time bytes may stand anywhere, even inside a message, and belong to none.
            if (byte >= firstRealTime)
                continue;
            if (byte == messageStart)
            {
                if (inside)
                    finish();
                inside = true;
                ++summary.messages;
                continue;
            }
            if (!inside)
                continue;
            // F7 ends the message; any other status byte ends it cut short, as on a MIDI cable.
            if (byte == messageEnd || (byte & 0x80) != 0)
            {
                finish();
                inside = false;
                continue;
            }
            current.data.push_back (byte);
            current.positions.push_back (i);
        }
        // A capture that stopped mid-message still holds whatever arrived before it stopped.
        if (inside)
            finish();
    }

    juce::Result result (PresetCodec::Image& image) const
    {
        if (summary.presets == 0)
            return juce::Result::fail (reasonForNoPreset());
        const auto& positions = first.positions;
        return PresetCodec::decodeImage (
            first.data.data() + presetHeaderSize, image,
            [&positions] (int offset)
            {
                return "preset byte " + juce::String (offset) + " (file byte " +
                       juce::String (static_cast<juce::int64> (
                           positions[static_cast<size_t> (offset + presetHeaderSize)])) +
                       ")";
            });
    }

    SysExReader::Summary summary;

private:
    void finish()
    {
        const auto kind = kindOf (current);
        if (kind == Kind::preset && ++summary.presets == 1)
            std::swap (first, current);
        if (kind == Kind::shortPreset && shortPresetBytes < 0)
            shortPresetBytes = static_cast<int> (current.data.size()) - presetHeaderSize;
        current.clear();
    }

    juce::String reasonForNoPreset() const
    {
        if (summary.messages == 0)
            return "no preset dump: no system-exclusive message";
        auto reason = "no preset dump among " + juce::String (summary.messages) +
                      (summary.messages == 1 ? " message" : " messages");
        if (shortPresetBytes >= 0)
            reason << " (one carries " << shortPresetBytes << " of the " << presetDataLength()
                   << " preset bytes)";
        return reason;
    }

    Message current;
    Message first;
    int shortPresetBytes = -1;
};
} // namespace

juce::Result SysExReader::read (const void* data, size_t size, PresetCodec::Image& image, Summary* summary)
{
    Scan scan;
    scan.take (static_cast<const juce::uint8*> (data), size);
    if (summary != nullptr)
        *summary = scan.summary;
    return scan.result (image);
}
