#include <gtest/gtest.h>

#include "preset/MonitoredMessage.h"
#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"

#include <vector>

namespace
{
using Kind = MonitoredMessage::Kind;
constexpr int none = MonitoredMessage::none;

MonitoredMessage decode (const std::vector<juce::uint8>& bytes)
{
    return MonitoredMessage::decode (bytes.data(), static_cast<int> (bytes.size()),
                                     static_cast<int> (bytes.size()));
}

std::vector<juce::uint8> sysex (juce::Array<juce::uint8> data)
{
    data.insert (0, 0xF0);
    data.add (0xF7);
    return {data.begin(), data.end()};
}

struct Decoded
{
    const char* what;
    std::vector<juce::uint8> bytes;
    Kind kind;
    int channel;
    int number;
    int value;
};
} // namespace

TEST (MonitoredMessage, ChannelMessagesGiveKindChannelNumberAndValue)
{
    const std::vector<Decoded> table{
        {"note on", {0x91, 36, 100}, Kind::noteOn, 2, 36, 100},
        {"note on at velocity 0 ends the note", {0x90, 60, 0}, Kind::noteOff, 1, 60, 0},
        {"note off on channel 16", {0x8F, 60, 64}, Kind::noteOff, 16, 60, 64},
        {"controller", {0xB1, 74, 127}, Kind::controlChange, 2, 74, 127},
        {"program change has no value", {0xC9, 5}, Kind::programChange, 10, 5, none},
        {"channel pressure has no number", {0xD3, 80}, Kind::aftertouch, 4, none, 80},
        {"a key's pressure", {0xA0, 60, 33}, Kind::polyAftertouch, 1, 60, 33},
        {"pitch bend centre", {0xE0, 0x00, 0x40}, Kind::pitchBend, 1, none, 0},
        {"pitch bend lowest", {0xE5, 0x00, 0x00}, Kind::pitchBend, 6, none, -8192},
        {"pitch bend highest", {0xEF, 0x7F, 0x7F}, Kind::pitchBend, 16, none, 8191},
        {"pitch bend, low seven bits first", {0xE0, 0x01, 0x40}, Kind::pitchBend, 1, none, 1},
    };
    for (const auto& row : table)
    {
        const auto message = decode (row.bytes);
        EXPECT_EQ (message.kind, row.kind) << row.what;
        EXPECT_EQ (message.channel, row.channel) << row.what;
        EXPECT_EQ (message.number, row.number) << row.what;
        EXPECT_EQ (message.value, row.value) << row.what;
        EXPECT_EQ (message.length, static_cast<int> (row.bytes.size())) << row.what;
    }
}

TEST (MonitoredMessage, SystemExclusiveIsRecognisedFromItsFirstBytesAndKeepsItsLength)
{
    auto dump = createDumpHeader();
    dump.addArray (factoryPresetData());
    const auto dumpBytes = sysex (dump);
    ASSERT_EQ (dumpBytes.size(), 103u);

    // A monitor keeps only the first bytes of a long message, and its whole length.
    const auto keptDump = MonitoredMessage::decode (dumpBytes.data(), 16, 103);
    EXPECT_EQ (keptDump.kind, Kind::presetDump);
    EXPECT_EQ (keptDump.length, 103);
    EXPECT_EQ (keptDump.channel, none);
    EXPECT_EQ (keptDump.toText(), "preset dump     103 bytes");

    EXPECT_EQ (decode (sysex (createRequestHeader())).kind, Kind::presetRequest);
    EXPECT_EQ (decode (sysex (createRequestHeader())).length, 10);
    EXPECT_EQ (decode (sysex (createReplyHeader())).kind, Kind::presetReply);

    const auto foreign = decode (sysex ({0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41}));
    EXPECT_EQ (foreign.kind, Kind::sysex);
    EXPECT_EQ (foreign.length, 11);
    EXPECT_TRUE (foreign.isSystemExclusive());

    // Another maker's message with our command byte, and a header cut short, are plain sysex.
    auto otherMaker = createRequestHeader();
    otherMaker.set (1, 0x3B);
    EXPECT_EQ (decode (sysex (otherMaker)).kind, Kind::sysex);
    const auto request = sysex (createRequestHeader());
    EXPECT_EQ (MonitoredMessage::decode (request.data(), 5, 10).kind, Kind::sysex);
}

TEST (MonitoredMessage, SystemAndBrokenMessagesHaveNoChannel)
{
    EXPECT_EQ (decode ({0xF8}).kind, Kind::clock);
    EXPECT_TRUE (decode ({0xF8}).isClockOrActiveSensing());
    EXPECT_EQ (decode ({0xFE}).kind, Kind::activeSensing);
    EXPECT_TRUE (decode ({0xFE}).isClockOrActiveSensing());
    EXPECT_EQ (decode ({0xFA}).kind, Kind::system);
    EXPECT_FALSE (decode ({0xFA}).isClockOrActiveSensing());
    EXPECT_EQ (decode ({0x40, 0x40}).kind, Kind::invalid);
    EXPECT_EQ (decode ({}).kind, Kind::invalid);
    for (const auto& bytes : {std::vector<juce::uint8>{0xF8}, std::vector<juce::uint8>{0x40}})
        EXPECT_EQ (decode (bytes).channel, none);
}

TEST (MonitoredMessage, KindsHaveTheNamesTheToolPrints)
{
    EXPECT_EQ (MonitoredMessage::kindName (Kind::noteOn), "note on");
    EXPECT_EQ (MonitoredMessage::kindName (Kind::noteOff), "note off");
    EXPECT_EQ (MonitoredMessage::kindName (Kind::controlChange), "cc");
    EXPECT_EQ (MonitoredMessage::kindName (Kind::programChange), "program");
    EXPECT_EQ (MonitoredMessage::kindName (Kind::pitchBend), "pitch bend");
    EXPECT_EQ (MonitoredMessage::kindName (Kind::aftertouch), "aftertouch");
    EXPECT_EQ (MonitoredMessage::kindName (Kind::sysex), "sysex");
    EXPECT_EQ (MonitoredMessage::kindName (Kind::presetRequest), "preset request");

    EXPECT_EQ (decode ({0xB1, 74, 100}).toText(), "cc              ch  2     74         100");
    EXPECT_EQ (decode ({0xD0, 7}).toText(), "aftertouch      ch  1      -           7");
    EXPECT_EQ (decode ({0xF8}).toText(), "clock");
}

TEST (MonitoredMessage, NotesAreNamedBesideTheirNumberUnderTheColumnsHeadings)
{
    const auto heading = MonitoredMessage::heading();
    EXPECT_EQ (heading, "Message            Ch Number Note  Value");
    const auto noteOn = decode ({0x90, 60, 100}).toText();
    EXPECT_EQ (noteOn, "note on         ch  1     60 C3      100");
    EXPECT_EQ (decode ({0x8F, 1, 0}).toText(), "note off        ch 16      1 C#-2      0");
    EXPECT_EQ (decode ({0xA0, 127, 5}).toText(), "poly aftertouch ch  1    127 G8        5");
    // A controller's number is no note.
    EXPECT_FALSE (decode ({0xB0, 60, 1}).toText().contains ("C3"));

    // Each heading ends where its column's numbers end, and the note's name starts under "Note".
    for (const auto* column : {"Ch", "Number", "Value"})
    {
        const auto end = heading.indexOf (column) + juce::String (column).length();
        EXPECT_NE (noteOn[end - 1], ' ') << column;
        EXPECT_TRUE (end == noteOn.length() || noteOn[end] == ' ') << column;
    }
    EXPECT_EQ (noteOn.substring (heading.indexOf ("Note"), heading.indexOf ("Note") + 2), "C3");
}
