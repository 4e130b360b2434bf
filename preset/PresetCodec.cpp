#include "preset/PresetCodec.h"

#include "preset/ControlSchema.h"
#include "preset/PresetMessages.h"

#include <optional>
#include <vector>

namespace
{
/** F0 and the dump header: the first nine bytes of every preset file. */
juce::Array<juce::uint8> fileStart()
{
    auto start = createDumpHeader();
    start.insert (0, 0xF0);
    return start;
}

juce::String hexByte (int value)
{
    return juce::String::toHexString (value).toUpperCase().paddedLeft ('0', 2);
}

/** The ranges allowedAt gives, worked out once for every offset and every value of the byte that
    decides its meaning: checking an image is then a table look-up per byte, with no names built,
    which keeps loading and fuzzing fast. Names are built only to explain a refusal. */
class RangeTable
{
public:
    RangeTable()
    {
        const auto size = static_cast<int> (presetDataLength());
        PresetCodec::Image image;
        image.insertMultiple (0, 0, size);
        for (int offset = 0; offset < size; ++offset)
        {
            const auto position = *controlAt (offset);
            const auto& schema = controlSchema (position.type);
            const auto modeByte = schema.getModeByte();
            Byte byte;
            byte.first = ranges.size();

            if (modeByte >= 0 && modeByte != position.byte)
            {
                byte.decider = offset - position.byte + modeByte;
                // Every value past the last mode means the same: no mode.
                byte.lastDistinctValue = static_cast<int> (schema.getModes().size());
            }

            for (int value = 0; value <= byte.lastDistinctValue; ++value)
            {
                if (byte.decider >= 0)
                    image.set (byte.decider, static_cast<juce::uint8> (value));
                const auto allowed = PresetCodec::allowedAt (image, offset);
                ranges.push_back ({allowed.minimum, allowed.maximum});
            }
            if (byte.decider >= 0)
                image.set (byte.decider, 0);
            bytes.push_back (byte);
        }
    }

    bool allows (const PresetCodec::Image& image, int offset) const
    {
        const auto& byte = bytes[static_cast<size_t> (offset)];
        const auto value = byte.decider >= 0
                               ? juce::jmin (static_cast<int> (image[byte.decider]), byte.lastDistinctValue)
                               : 0;
        const auto& range = ranges[byte.first + static_cast<size_t> (value)];
        return image[offset] >= range.first && image[offset] <= range.second;
    }

private:
    struct Byte
    {
        /** The offset of the mode byte that decides this byte's meaning, or -1. */
        int decider = -1;
        int lastDistinctValue = 0;
        size_t first = 0;
    };

    std::vector<Byte> bytes;
    std::vector<std::pair<int, int>> ranges;
};

/** The first byte outside its range, if any. */
std::optional<int> firstRefusedByte (const PresetCodec::Image& image)
{
    static const RangeTable table;
    for (int offset = 0; offset < image.size(); ++offset)
        if (!table.allows (image, offset))
            return offset;
    return std::nullopt;
}

/** "byte 36 (Pad 1 Bank MSB, Curve, ...) holds 9, outside the range 0 to 7 of Pad 1 Curve (...)" */
juce::String describeRefusal (const PresetCodec::Image& image, int offset, const juce::String& where)
{
    const auto allowed = PresetCodec::allowedAt (image, offset);
    auto reason = where + " (" + PresetCodec::describeByte (offset) + ") holds " +
                  juce::String (image[offset]) + ", outside the range " + juce::String (allowed.minimum) +
                  " to " + juce::String (allowed.maximum) + " of " + allowed.parameterName;
    if (allowed.becauseOf.isNotEmpty())
        reason << " (" << allowed.becauseOf << ")";
    return reason;
}

bool hasImageSize (const PresetCodec::Image& image)
{
    return image.size() == presetDataLength();
}
} // namespace

juce::Result PresetCodec::checkImage (const Image& image)
{
    if (!hasImageSize (image))
        return juce::Result::fail ("the preset holds " + juce::String (image.size()) + " bytes instead of " +
                                   juce::String (presetDataLength()));

    if (const auto refused = firstRefusedByte (image))
        return juce::Result::fail (describeRefusal (image, *refused, "byte " + juce::String (*refused)));
    return juce::Result::ok();
}

PresetCodec::Allowed PresetCodec::allowedAt (const Image& image, int offset)
{
    const auto position = controlAt (offset);
    jassert (position.has_value());
    const auto& schema = controlSchema (position->type);
    const auto title = controlTitle (position->type, position->controlNumber);
    const auto first = offset - position->byte;

    // A byte that the control's mode shows takes that parameter's range; a byte no mode shows (a
    // knob's CC in "Aftertouch") keeps the range of its own parameters, which then all agree.
    auto label = schema.getLabelsAt (position->byte)[0];
    juce::String becauseOf;
    if (const auto modeByte = schema.getModeByte(); modeByte >= 0 && modeByte != position->byte)
    {
        const auto modeValue = static_cast<int> (image[first + modeByte]);
        if (const auto shown = schema.getLabelShownAt (modeValue, position->byte); shown.isNotEmpty())
        {
            if (schema.getLabelsAt (position->byte).size() > 1)
                becauseOf =
                    title + " " + ControlSchema::modeLabel + " is " + schema.findMode (modeValue)->name;
            label = shown;
        }
    }

    const auto range = schema.getStoredRange (*schema.findParameter (label));
    return {range.minimum, range.maximum, title + " " + label, becauseOf};
}

juce::String PresetCodec::describeByte (int offset)
{
    const auto position = controlAt (offset);
    if (!position.has_value())
        return {};
    const auto labels = controlSchema (position->type).getLabelsAt (position->byte);
    return controlTitle (position->type, position->controlNumber) + " " + labels.joinIntoString (", ");
}

juce::Result PresetCodec::decodeFile (const void* data, size_t size, Image& image)
{
    if (size != static_cast<size_t> (presetDumpMessageSize))
        return juce::Result::fail ("the file holds " + juce::String (static_cast<juce::int64> (size)) +
                                   " bytes; a preset file holds exactly " +
                                   juce::String (presetDumpMessageSize));

    const auto* bytes = static_cast<const juce::uint8*> (data);
    const auto start = fileStart();
    for (int i = 0; i < start.size(); ++i)
        if (bytes[i] != start[i])
            return juce::Result::fail ("file byte " + juce::String (i) + " is " + hexByte (bytes[i]) +
                                       " where a preset dump has " + hexByte (start[i]) +
                                       ": not a preset of this controller");

    // The closing F7 is not examined: a file that differs only there loads like the saved one.
    return decodeImage (bytes + start.size(), image,
                        [&start] (int offset)
                        {
                            return "preset byte " + juce::String (offset) + " (file byte " +
                                   juce::String (offset + start.size()) + ")";
                        });
}

bool PresetCodec::isPresetFile (const void* data, size_t size)
{
    static const auto start = fileStart();
    return size == static_cast<size_t> (presetDumpMessageSize) &&
           std::equal (start.begin(), start.end(), static_cast<const juce::uint8*> (data));
}

juce::Result PresetCodec::decodeImage (const juce::uint8* bytes, Image& image,
                                       const std::function<juce::String (int offset)>& where)
{
    Image decoded (bytes, presetDataLength());
    if (const auto refused = firstRefusedByte (decoded))
        return juce::Result::fail (describeRefusal (decoded, *refused, where (*refused)));
    image.swapWith (decoded);
    return juce::Result::ok();
}

juce::MemoryBlock PresetCodec::encodeFile (const Image& image)
{
    auto message = fileStart();
    message.addArray (image);
    message.add (0xF7);
    return {message.getRawDataPointer(), static_cast<size_t> (message.size())};
}

bool PresetCodec::isReply (const juce::MidiMessage& message)
{
    // Made at the first call whatever the message, so that a caller can have it made up front
    // rather than on a MIDI input's thread.
    static const auto header = createReplyHeader();
    if (!message.isSysEx())
        return false;
    return message.getSysExDataSize() >= header.size() &&
           std::equal (header.begin(), header.end(), message.getSysExData());
}

juce::Result PresetCodec::decodeReply (const juce::MidiMessage& message, Image& image)
{
    if (!isReply (message))
        return juce::Result::fail ("the message is not the controller's preset reply");

    const auto available = message.getSysExDataSize() - presetHeaderSize;
    if (available < presetDataLength())
        return juce::Result::fail ("the reply carries " + juce::String (available) + " of the " +
                                   juce::String (presetDataLength()) + " preset bytes");

    return decodeImage (message.getSysExData() + presetHeaderSize, image,
                        [] (int offset) { return "reply's preset byte " + juce::String (offset); });
}
