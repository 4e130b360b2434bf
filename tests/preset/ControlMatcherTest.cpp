#include <gtest/gtest.h>

#include "preset/ControlMatcher.h"
#include "preset/PresetModel.h"

#include <vector>

namespace
{
using Kind = MonitoredMessage::Kind;
constexpr int none = MonitoredMessage::none;

MonitoredMessage message (Kind kind, int channel, int number, int value = 64)
{
    MonitoredMessage result;
    result.kind = kind;
    result.channel = channel;
    result.number = number;
    result.value = value;
    return result;
}

/** Sets boxes as a user would, in the order given (a mode before the boxes it shows). */
PresetModel presetWith (const std::vector<std::pair<const char*, int>>& storedValues)
{
    PresetModel model;
    for (const auto& [name, value] : storedValues)
        EXPECT_TRUE (model.setStoredValue (name, value).wasOk()) << name;
    return model;
}

struct Match
{
    const char* what;
    MonitoredMessage sent;
    juce::StringArray controls;
};

void expectMatches (const PresetModel& model, const std::vector<Match>& table)
{
    const ControlMatcher matcher (model.getImage());
    for (const auto& row : table)
        EXPECT_EQ (matcher.controlsSending (row.sent).joinIntoString (", "),
                   row.controls.joinIntoString (", "))
            << row.what;
}
} // namespace

TEST (ControlMatcher, FactoryPresetNamesTheControlOfEachMessage)
{
    // Factory: everything on channel 1 but the pads (channel 10); knobs send CC 20 to 23, pads notes
    // 49, 41, 42, 46, 36 to 39, switches CC 48 to 51 as toggles.
    expectMatches (PresetModel(),
                   {{"any note on the keybed's channel", message (Kind::noteOn, 1, 60), {"Keybed"}},
                    {"its note off too", message (Kind::noteOff, 1, 0), {"Keybed"}},
                    {"pitch bend", message (Kind::pitchBend, 1, none), {"Pitch Wheel"}},
                    {"pitch bend on another channel", message (Kind::pitchBend, 2, none), {}},
                    {"mod wheel", message (Kind::controlChange, 1, 1), {"Mod Wheel"}},
                    {"sustain", message (Kind::controlChange, 1, 64), {"Sustain"}},
                    {"knob 1", message (Kind::controlChange, 1, 20), {"Knob 1"}},
                    {"knob 4", message (Kind::controlChange, 1, 23), {"Knob 4"}},
                    {"a knob's controller on another channel", message (Kind::controlChange, 2, 20), {}},
                    {"pad 5's note", message (Kind::noteOn, 10, 36), {"Pad 5"}},
                    {"pad 1's note off", message (Kind::noteOff, 10, 49), {"Pad 1"}},
                    {"a pad's note as a controller", message (Kind::controlChange, 10, 36), {}},
                    {"a note no pad plays", message (Kind::noteOn, 10, 60), {}},
                    {"switch 2 toggles CC 49", message (Kind::controlChange, 1, 49), {"Switch 2"}},
                    {"no control sends channel pressure", message (Kind::aftertouch, 1, none), {}},
                    {"nor program changes", message (Kind::programChange, 1, 0), {}},
                    {"a sysex has no channel", message (Kind::sysex, none, none), {}}});
}

TEST (ControlMatcher, EachModeOfKnobsPadsAndSwitchesSendsWhatItShows)
{
    const auto model = presetWith ({{"Knob 1 CC", 74},          {"Knob 1 MIDI Channel", 1},
                                    {"Knob 2 Mode", 1},                               // Aftertouch
                                    {"Knob 2 MIDI Channel", 2}, {"Pad 5 Mode", 1},    // CC Toggle
                                    {"Pad 5 CC", 70},           {"Pad 6 Mode", 2},    // CC Momentary
                                    {"Pad 6 CC", 71},           {"Pad 7 Mode", 3},    // Program Change
                                    {"Pad 7 Program", 5},       {"Switch 2 Mode", 1}, // CC Momentary
                                    {"Switch 2 CC", 90},        {"Switch 3 Mode", 2}, // Program Change
                                    {"Switch 3 Program", 9},    {"Switch 3 MIDI Channel", 4},
                                    {"Mod Wheel CC", 11},       {"Mod Wheel MIDI Channel", 15},
                                    {"Sustain CC", 66},         {"Pitch Wheel MIDI Channel", 6},
                                    {"Keybed MIDI Channel", 2}});
    expectMatches (
        model, {{"knob 1 moved to CC 74 on channel 2", message (Kind::controlChange, 2, 74), {"Knob 1"}},
                {"knob 1's old controller", message (Kind::controlChange, 1, 20), {}},
                {"knob 2 as aftertouch", message (Kind::aftertouch, 3, none), {"Knob 2"}},
                {"knob 2's controller is not sent in aftertouch", message (Kind::controlChange, 3, 21), {}},
                {"pad 5 as a toggle", message (Kind::controlChange, 10, 70), {"Pad 5"}},
                {"pad 5's note is not sent as a toggle", message (Kind::noteOn, 10, 36), {}},
                {"pad 6 momentary", message (Kind::controlChange, 10, 71), {"Pad 6"}},
                {"pad 7's program", message (Kind::programChange, 10, 5), {"Pad 7"}},
                {"pad 7's bank select MSB", message (Kind::controlChange, 10, 0), {"Pad 7"}},
                {"pad 7's bank select LSB", message (Kind::controlChange, 10, 32), {"Pad 7"}},
                {"another program", message (Kind::programChange, 10, 6), {}},
                {"switch 1 still toggles", message (Kind::controlChange, 1, 48), {"Switch 1"}},
                {"switch 2 momentary", message (Kind::controlChange, 1, 90), {"Switch 2"}},
                {"switch 3's program on channel 5", message (Kind::programChange, 5, 9), {"Switch 3"}},
                {"switch 3's bank select", message (Kind::controlChange, 5, 0), {"Switch 3"}},
                {"mod wheel on channel 16", message (Kind::controlChange, 16, 11), {"Mod Wheel"}},
                {"sustain's new controller", message (Kind::controlChange, 1, 66), {"Sustain"}},
                {"pitch wheel on channel 7", message (Kind::pitchBend, 7, none), {"Pitch Wheel"}},
                {"keybed on channel 3", message (Kind::noteOn, 3, 12), {"Keybed"}},
                {"the keybed left channel 1", message (Kind::noteOn, 1, 12), {}}});
}

TEST (ControlMatcher, SeveralControlsAreNamedInThePresetsOrder)
{
    const auto model = presetWith ({{"Switch 4 CC", 1},
                                    {"Knob 3 CC", 1},
                                    {"Pad 1 MIDI Channel", 0},
                                    {"Pad 2 MIDI Channel", 0},
                                    {"Pad 2 Note", 49}});
    expectMatches (model, {{"the mod wheel's controller",
                            message (Kind::controlChange, 1, 1),
                            {"Mod Wheel", "Knob 3", "Switch 4"}},
                           {"pad 1's note on the keybed's channel",
                            message (Kind::noteOn, 1, 49),
                            {"Keybed", "Pad 1", "Pad 2"}},
                           {"another note there", message (Kind::noteOff, 1, 50), {"Keybed"}}});
}
