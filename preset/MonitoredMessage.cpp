#include "preset/MonitoredMessage.h"

#include "preset/NoteName.h"
#include "preset/PresetMessages.h"

#include <array>

namespace
{
using Kind = MonitoredMessage::Kind;

struct KindInfo
{
    Kind kind;
    const char* name;
};

// The names a monitor line and the tool's JSON use.
constexpr std::array<KindInfo, 15> kindNames{{
    {Kind::noteOn, "note on"},
    {Kind::noteOff, "note off"},
    {Kind::controlChange, "cc"},
    {Kind::programChange, "program"},
    {Kind::pitchBend, "pitch bend"},
    {Kind::aftertouch, "aftertouch"},
    {Kind::polyAftertouch, "poly aftertouch"},
    {Kind::sysex, "sysex"},
    {Kind::presetDump, "preset dump"},
    {Kind::presetRequest, "preset request"},
    {Kind::presetReply, "preset reply"},
    {Kind::clock, "clock"},
    {Kind::activeSensing, "active sensing"},
    {Kind::system, "system"},
    {Kind::invalid, "invalid"},
}};

/** Which of the controller's messages a sysex is; plain sysex when its header is another's. */
Kind sysexKind (const juce::uint8* data, int size)
{
    const std::array<std::pair<juce::Array<juce::uint8>, Kind>, 3> headers{
        {{createDumpHeader(), Kind::presetDump},
         {createRequestHeader(), Kind::presetRequest},
         {createReplyHeader(), Kind::presetReply}}};
    for (const auto& [header, kind] : headers)
        if (size > header.size() && std::equal (header.begin(), header.end(), data + 1))
            return kind;
    return Kind::sysex;
}

MonitoredMessage channelMessage (const juce::uint8* data, int size)
{
    const int channel = (data[0] & 0x0f) + 1;
    const int first = size > 1 ? data[1] : 0;
    const int second = size > 2 ? data[2] : 0;
    switch (data[0] & 0xf0)
    {
        case 0x80:
            return {Kind::noteOff, channel, first, second, size};
        case 0x90:
            // Velocity 0 is how most devices end a note.
            return {second == 0 ? Kind::noteOff : Kind::noteOn, channel, first, second, size};
        case 0xa0:
            return {Kind::polyAftertouch, channel, first, second, size};
        case 0xb0:
            return {Kind::controlChange, channel, first, second, size};
        case 0xc0:
            return {Kind::programChange, channel, first, MonitoredMessage::none, size};
        case 0xd0:
            return {Kind::aftertouch, channel, MonitoredMessage::none, first, size};
        default:
            return {Kind::pitchBend, channel, MonitoredMessage::none, (second << 7 | first) - 8192, size};
    }
}
} // namespace

MonitoredMessage MonitoredMessage::decode (const juce::uint8* data, int size, int length)
{
    MonitoredMessage message;
    message.length = length;
    if (size <= 0 || data[0] < 0x80)
        return message;
    if (data[0] < 0xf0)
        return channelMessage (data, size);

    switch (data[0])
    {
        case 0xf0:
            message.kind = sysexKind (data, size);
            break;
        case 0xf8:
            message.kind = Kind::clock;
            break;
        case 0xfe:
            message.kind = Kind::activeSensing;
            break;
        default:
            message.kind = Kind::system;
            break;
    }
    return message;
}

juce::String MonitoredMessage::kindName (Kind kind)
{
    for (const auto& entry : kindNames)
        if (entry.kind == kind)
            return entry.name;
    return {};
}

bool MonitoredMessage::isSystemExclusive() const noexcept
{
    return kind == Kind::sysex || kind == Kind::presetDump || kind == Kind::presetRequest ||
           kind == Kind::presetReply;
}

bool MonitoredMessage::isClockOrActiveSensing() const noexcept
{
    return kind == Kind::clock || kind == Kind::activeSensing;
}

bool MonitoredMessage::hasNote() const noexcept
{
    return kind == Kind::noteOn || kind == Kind::noteOff || kind == Kind::polyAftertouch;
}

namespace
{
// The columns of a line: kind, channel (after "ch "), number, note name, value.
constexpr int kindWidth = 16;
constexpr int channelWidth = 5;
constexpr int numberWidth = 7;
constexpr int noteWidth = 4;
constexpr int valueWidth = 7;
} // namespace

juce::String MonitoredMessage::toText() const
{
    auto text = kindName (kind).paddedRight (' ', kindWidth);
    if (isSystemExclusive())
        return text + juce::String (length) + " bytes";
    if (channel == none)
        return text.trimEnd();

    const auto column = [] (int field, int width)
    { return (field == none ? juce::String ("-") : juce::String (field)).paddedLeft (' ', width); };
    const auto note = hasNote() ? NoteName::of (number) : juce::String();
    return text + "ch " + column (channel, channelWidth - 3) + column (number, numberWidth) + " " +
           note.paddedRight (' ', noteWidth) + column (value, valueWidth);
}

juce::String MonitoredMessage::heading()
{
    return juce::String ("Message").paddedRight (' ', kindWidth) +
           juce::String ("Ch").paddedLeft (' ', channelWidth) +
           juce::String ("Number").paddedLeft (' ', numberWidth) + " " +
           juce::String ("Note").paddedRight (' ', noteWidth) +
           juce::String ("Value").paddedLeft (' ', valueWidth);
}
