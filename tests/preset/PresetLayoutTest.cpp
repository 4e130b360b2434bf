#include <gtest/gtest.h>

#include "MarloPresetData.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"

#include <map>
#include <set>

namespace
{
/** The parameters of one control, as the index has them, in its order. */
std::vector<ParameterIndex::Entry> entriesOf (const juce::String& prefix)
{
    std::vector<ParameterIndex::Entry> entries;
    for (const auto& entry : ParameterIndex::all())
        if (entry.name.startsWith (prefix))
            entries.push_back (entry);
    return entries;
}

std::map<juce::String, int> layoutByName()
{
    std::map<juce::String, int> byName;
    for (const auto& entry : ParameterIndex::all())
        byName[entry.name] = entry.offset;
    return byName;
}
} // namespace

TEST (PresetLayout, HasOneHundredSeventySevenDistinctNamesCoveringEveryByte)
{
    const auto& layout = ParameterIndex::all();
    EXPECT_EQ (layout.size(), 177u);
    EXPECT_EQ (layoutByName().size(), 177u) << "a name occurs twice";

    std::set<int> offsets;
    for (const auto& entry : layout)
    {
        EXPECT_GE (entry.offset, 0) << entry.name;
        EXPECT_LT (entry.offset, 93) << entry.name;
        offsets.insert (entry.offset);
    }
    EXPECT_EQ (offsets.size(), 93u) << "some byte has no name";
}

TEST (PresetLayout, ImageLengthAndSectionOffsetsAreDerivedFromTheTypeTable)
{
    EXPECT_EQ (presetDataLength(), 93);
    const std::map<ControlType, int> expected{{ControlType::Keybed, 0},   {ControlType::PitchWheel, 4},
                                              {ControlType::ModWheel, 5}, {ControlType::Sustain, 9},
                                              {ControlType::Knob, 13},    {ControlType::Pad, 33},
                                              {ControlType::Switch, 73}};
    for (const auto& [type, offset] : expected)
        EXPECT_EQ (controlOffset (type, 1), offset) << static_cast<int> (type);
    EXPECT_EQ (controlOffset (ControlType::Pad, 8), 68);
    EXPECT_EQ (controlOffset (ControlType::Switch, 4), 88);
}

TEST (PresetLayout, NamesResolveToTheBytesOfTheirSection)
{
    const auto byName = layoutByName();
    const std::map<juce::String, int> expected{
        {"Keybed Transpose", 0},
        {"Keybed Octave", 1},
        {"Keybed MIDI Channel", 2},
        {"Keybed Curve", 3},
        {"Pitch Wheel MIDI Channel", 4},
        {"Mod Wheel MIDI Channel", 5},
        {"Mod Wheel CC", 6},
        {"Mod Wheel Max", 8},
        {"Sustain CC", 9},
        {"Sustain Released", 10},
        {"Sustain Pressed", 11},
        {"Sustain MIDI Channel", 12},
        {"Knob 1 Mode", 13},
        {"Knob 3 CC", 24},
        {"Knob 4 MIDI Channel", 32},
        {"Pad 1 Note", 34},
        {"Pad 1 CC", 34},
        {"Pad 1 Program", 34},
        {"Pad 1 Bank LSB", 35},
        {"Pad 1 Bank MSB", 36},
        {"Pad 1 Curve", 36},
        {"Pad 3 CC", 44},
        {"Pad 8 Toggle Off", 71},
        {"Pad 8 MIDI Channel", 72},
        {"Switch 1 Bank LSB", 75},
        {"Switch 1 Bank MSB", 76},
        {"Switch 4 Program", 89},
        {"Switch 4 MIDI Channel", 92},
    };
    for (const auto& [name, offset] : expected)
    {
        const auto found = byName.find (name);
        ASSERT_NE (found, byName.end()) << name;
        EXPECT_EQ (found->second, offset) << name;
    }
}

TEST (PresetLayout, NamesAreComparedExactly)
{
    const auto byName = layoutByName();
    for (const auto* name : {"Knob 10 CC", "Pad 0 Mode", "keybed MIDI Channel", "Pad 9 Mode", "Knob 01 CC",
                             "Keybed  MIDI Channel", "Pitch Wheel Mode"})
        EXPECT_EQ (byName.count (name), 0u) << name;
}

TEST (PresetLayout, EachControlsNamesUseItsTitleAndTheRegistrationOrder)
{
    const auto keybed = entriesOf ("Keybed ");
    ASSERT_EQ (keybed.size(), 4u);
    EXPECT_EQ (keybed[0].name, "Keybed MIDI Channel");
    EXPECT_EQ (keybed[0].offset, 2);

    const auto pads = entriesOf ("Pad 2 ");
    const auto& padSchema = controlSchema (ControlType::Pad).getParameters();
    ASSERT_EQ (pads.size(), 13u);
    for (size_t id = 0; id < pads.size(); ++id)
        EXPECT_EQ (pads[id].name, "Pad 2 " + padSchema[id].label);
    EXPECT_EQ (pads[padFixed].offset, 40);
    EXPECT_EQ (pads[padMidiChannel].offset, 42);

    const auto switches = entriesOf ("Switch 1 ");
    ASSERT_EQ (switches.size(), 10u);
    EXPECT_EQ (switches[switchToggleOff].offset, 76);
}

TEST (PresetLayout, TheParameterIdsFollowTheSchemasOrder)
{
    const auto& pads = controlSchema (ControlType::Pad).getParameters();
    const auto& switches = controlSchema (ControlType::Switch).getParameters();
    ASSERT_EQ (pads.size(), static_cast<size_t> (padProgram + 1));
    ASSERT_EQ (switches.size(), static_cast<size_t> (switchProgram + 1));
    EXPECT_EQ (pads[padBankMSB].label, "Bank MSB");
    EXPECT_EQ (switches[switchBankMSB].label, "Bank MSB");
}

TEST (PresetLayout, FactoryImageIsTheStoredDumpWithTheOctaveLowered)
{
    // Every byte, section by section, as a new document starts.
    const std::vector<int> expected{
        12, 3,  0,   3,                                                          // keybed
        0,                                                                       // pitch wheel
        0,  1,  0,   127,                                                        // mod wheel
        64, 0,  127, 0,                                                          // sustain
        0,  20, 0,   127, 0, 0, 21, 0,   127, 0,                                 // knobs 1, 2
        0,  22, 0,   127, 0, 0, 23, 0,   127, 0,                                 // knobs 3, 4
        0,  49, 0,   0,   9, 0, 41, 0,   0,   9, 0, 42, 0, 0, 9, 0, 46, 0, 0, 9, // pads 1-4
        0,  36, 0,   0,   9, 0, 37, 0,   0,   9, 0, 38, 0, 0, 9, 0, 39, 0, 0, 9, // pads 5-8
        0,  48, 127, 0,   0, 0, 49, 127, 0,   0,                                 // switches 1, 2
        0,  50, 127, 0,   0, 0, 51, 127, 0,   0,                                 // switches 3, 4
    };
    const auto data = factoryPresetData();
    ASSERT_EQ (expected.size(), 93u);
    EXPECT_EQ (std::vector<int> (data.begin(), data.end()), expected);

    ASSERT_EQ (MarloPresetData::factoryPresetDump_syxSize, 103);
    const auto* dump = reinterpret_cast<const juce::uint8*> (MarloPresetData::factoryPresetDump_syx);
    EXPECT_EQ (dump[5], 0x41);
    EXPECT_EQ (dump[10], 4);
    EXPECT_EQ (dump[102], 0xF7);
}
