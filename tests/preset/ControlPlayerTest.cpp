#include <gtest/gtest.h>

#include "preset/ControlMatcher.h"
#include "preset/ControlPlayer.h"
#include "preset/PresetModel.h"

#include <vector>

namespace
{
using Bytes = std::vector<std::vector<int>>;

Bytes bytesOf (const std::vector<juce::MidiMessage>& messages)
{
    Bytes result;
    for (const auto& message : messages)
        result.emplace_back (message.getRawData(), message.getRawData() + message.getRawDataSize());
    return result;
}

struct Play
{
    const char* assignment;
    Bytes sent;
};

/** Plays each row in turn on one player, so that toggles carry from row to row. */
void expectPlays (const PresetModel& model, const std::vector<Play>& table)
{
    ControlPlayer player;
    for (const auto& row : table)
    {
        std::vector<juce::MidiMessage> messages;
        const auto result = player.play (model.getImage(), row.assignment, messages);
        EXPECT_TRUE (result.wasOk()) << row.assignment << ": " << result.getErrorMessage();
        EXPECT_EQ (bytesOf (messages), row.sent) << row.assignment;
    }
}

PresetModel presetWith (const std::vector<std::pair<const char*, int>>& storedValues)
{
    PresetModel model;
    for (const auto& [name, value] : storedValues)
        EXPECT_TRUE (model.setStoredValue (name, value).wasOk()) << name;
    return model;
}
} // namespace

TEST (ControlPlayer, KnobsAndWheelsSendTheirNumberWithinMinAndMax)
{
    const auto model = presetWith ({{"Knob 1 Min", 10},
                                    {"Knob 1 Max", 100},
                                    {"Knob 1 MIDI Channel", 1},
                                    {"Knob 2 Mode", 1}, // Aftertouch
                                    {"Knob 2 MIDI Channel", 2},
                                    {"Knob 2 Max", 90},
                                    {"Knob 3 Min", 100},
                                    {"Knob 3 Max", 20},
                                    {"Mod Wheel Min", 5}});
    expectPlays (model, {{"Knob 1=64", {{0xB1, 20, 64}}},
                         {"Knob 1=5", {{0xB1, 20, 10}}},
                         {"Knob 1=200", {{0xB1, 20, 100}}},
                         {"Knob 2=100", {{0xD2, 90}}},
                         {"Knob 2=-3", {{0xD2, 0}}},
                         {"Knob 3=0", {{0xB0, 22, 20}}}, // a reversed range still bounds the value
                         {"Knob 3=127", {{0xB0, 22, 100}}},
                         {"Mod Wheel=0", {{0xB0, 1, 5}}},
                         {"Mod Wheel=300", {{0xB0, 1, 127}}},
                         {"Pitch Wheel=0", {{0xE0, 0x00, 0x40}}},
                         {"Pitch Wheel=-8192", {{0xE0, 0x00, 0x00}}},
                         {"Pitch Wheel=8191", {{0xE0, 0x7F, 0x7F}}}});
}

TEST (ControlPlayer, PadsSwitchesAndSustainArePressedAndReleased)
{
    const auto model = presetWith ({{"Pad 6 Fixed", 90},
                                    {"Pad 3 Mode", 2}, // CC Momentary
                                    {"Pad 3 CC", 71},
                                    {"Pad 3 Pressed", 120},
                                    {"Pad 3 Released", 5},
                                    {"Pad 4 Mode", 1}, // CC Toggle
                                    {"Pad 4 CC", 72},
                                    {"Pad 4 Toggle On", 100},
                                    {"Pad 4 Toggle Off", 3},
                                    {"Pad 7 Mode", 3}, // Program Change
                                    {"Pad 7 Bank MSB", 1},
                                    {"Pad 7 Bank LSB", 2},
                                    {"Pad 7 Program", 5},
                                    {"Switch 2 Mode", 1}, // CC Momentary
                                    {"Switch 3 Mode", 2}, // Program Change
                                    {"Switch 3 Program", 9},
                                    {"Switch 3 MIDI Channel", 4}});
    expectPlays (model, {{"Pad 5=press", {{0x99, 36, 100}}}, // "Fixed" 0: velocity 100
                         {"Pad 5=release", {{0x89, 36, 0}}},
                         {"Pad 6=press", {{0x99, 37, 90}}},
                         {"Sustain=press", {{0xB0, 64, 127}}},
                         {"Sustain=release", {{0xB0, 64, 0}}},
                         {"Pad 3=press", {{0xB9, 71, 120}}},
                         {"Pad 3=release", {{0xB9, 71, 5}}},
                         {"Pad 4=press", {{0xB9, 72, 100}}},
                         {"Pad 4=release", {}},
                         {"Pad 4=press", {{0xB9, 72, 3}}},
                         {"Pad 4=press", {{0xB9, 72, 100}}},
                         {"Switch 1=press", {{0xB0, 48, 127}}},
                         {"Switch 1=press", {{0xB0, 48, 0}}},
                         {"Switch 2=press", {{0xB0, 49, 127}}},
                         {"Switch 2=release", {{0xB0, 49, 0}}},
                         {"Pad 7=press", {{0xB9, 0, 1}, {0xB9, 32, 2}, {0xC9, 5}}},
                         {"Pad 7=release", {}},
                         {"Switch 3=press", {{0xB4, 0, 0}, {0xB4, 32, 127}, {0xC4, 9}}}});
}

TEST (ControlPlayer, RefusesWhatAControlDoesNotTakeAndSendsNothing)
{
    const PresetModel model;
    ControlPlayer player;
    for (const auto* wrong : {"Knob 9=1", "knob 1=1", "Keybed=60", "Knob 1=press", "Knob 1=1.5", "Pad 5=64",
                              "Pad 5=down", "Pad 5", "Pitch Wheel=8192", "Pitch Wheel=-8193", "Sustain=127",
                              "Pitch Wheel=4294967296", "Knob 1=999999999999"})
    {
        std::vector<juce::MidiMessage> messages;
        EXPECT_TRUE (player.play (model.getImage(), wrong, messages).failed()) << wrong;
        EXPECT_TRUE (messages.empty()) << wrong;
    }
}

TEST (ControlPlayer, WhatAControlPlaysIsMatchedBackToIt)
{
    // Every playable control in every mode, one preset per mode so each control is alone in it.
    for (int mode = 0; mode < 4; ++mode)
    {
        PresetModel model;
        for (int n = 1; n <= 8; ++n)
            EXPECT_TRUE (model.setStoredValue ("Pad " + juce::String (n) + " Mode", mode).wasOk());
        for (int n = 1; n <= 4; ++n)
        {
            EXPECT_TRUE (model.setStoredValue ("Knob " + juce::String (n) + " Mode", mode % 2).wasOk());
            EXPECT_TRUE (model.setStoredValue ("Switch " + juce::String (n) + " Mode", mode % 3).wasOk());
        }
        const ControlMatcher matcher (model.getImage());
        ControlPlayer player;
        // What a play list offers: every control but the keybed, which has nothing to play here.
        const auto playable = ControlPlayer::playableControls (model.getImage());
        EXPECT_EQ (playable.size(), 19);
        EXPECT_FALSE (playable.contains ("Keybed"));
        for (const auto& control : playable)
        {
            std::vector<juce::MidiMessage> messages;
            const auto numeric = control.startsWith ("Knob") || control.endsWith ("Wheel");
            ASSERT_TRUE (player.play (model.getImage(), control, numeric ? "10" : "press", messages).wasOk());
            ASSERT_FALSE (messages.empty()) << control;
            for (const auto& sent : messages)
            {
                const auto decoded = MonitoredMessage::decode (sent.getRawData(), sent.getRawDataSize(),
                                                               sent.getRawDataSize());
                EXPECT_TRUE (matcher.controlsSending (decoded).contains (control))
                    << control << " in mode " << mode << " sent " << sent.getDescription();
            }
        }
    }
}
