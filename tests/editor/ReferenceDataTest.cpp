#include <gtest/gtest.h>

#include "editor/ZellKeyboardControlReferenceData.h"
#include "editor/ZellKnobControlReferenceData.h"
#include "editor/ZellModWheelControlReferenceData.h"
#include "editor/ZellPadControlReferenceData.h"
#include "editor/ZellPitchWheelControlReferenceData.h"
#include "editor/ZellSustainControlReferenceData.h"
#include "editor/ZellSwitchControlReferenceData.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetLayout.h"

#include <stdexcept>

namespace
{
struct Expected
{
    const char* label;
    int minimum, maximum, defaultValue, displayOffset, widgetKind;
};

void expectSpecs (const ZellControlReferenceData& data, std::initializer_list<Expected> specs)
{
    juce::StringArray labels;
    for (const auto& spec : specs)
    {
        SCOPED_TRACE (spec.label);
        labels.add (spec.label);
        EXPECT_EQ (data.getWidgetKind (spec.label), spec.widgetKind);
        EXPECT_EQ (data.getDefaultValue (spec.label), spec.defaultValue);
        EXPECT_EQ (data.getDisplayOffset (spec.label), spec.displayOffset);
        EXPECT_EQ (data.getMinimum (spec.label), spec.minimum);
        EXPECT_EQ (data.getMaximum (spec.label), spec.maximum);

        // Every stored range must fit a preset byte.
        if (spec.widgetKind == 0)
        {
            EXPECT_GE (spec.minimum - spec.displayOffset, 0);
            EXPECT_LE (spec.maximum - spec.displayOffset, 127);
        }
    }
    EXPECT_EQ (data.parameterLabels, labels) << "registration order";
}

void expectModes (const ZellControlReferenceData& data,
                  std::initializer_list<std::pair<const char*, juce::StringArray>> modes)
{
    juce::StringArray names;
    for (const auto& [name, rows] : modes)
    {
        names.add (name);
        EXPECT_EQ (data.getModeParameters (name), rows) << name;
    }
    EXPECT_EQ (data.modeNames, names) << "mode order is the stored mode value";
}

const Expected channel{"MIDI Channel", 1, 16, 1, 1, 0};
const Expected mode{"Mode", 0, 127, 0, 0, 1};

Expected full (const char* label, int defaultValue = 0)
{
    return {label, 0, 127, defaultValue, 0, 0};
}
} // namespace

TEST (ReferenceData, KeybedHasShiftedRangesAndAWidePanel)
{
    ZellKeyboardControlReferenceData data;
    expectSpecs (
        data,
        {channel, {"Transpose", -12, 12, 0, -12, 0}, {"Octave", 0, 6, 0, 0, 0}, {"Curve", 1, 8, 1, 1, 0}});
    expectModes (data, {{"Default", {"MIDI Channel", "Transpose", "Octave", "Curve"}}});
    EXPECT_EQ (data.getPanelSize(), juce::Point<int> (1000, 211));
}

TEST (ReferenceData, WheelsAndSustainShowTheChannelFirstThoughRegisteredLast)
{
    ZellPitchWheelControlReferenceData pitch;
    expectSpecs (pitch, {channel});
    expectModes (pitch, {{"Default", {"MIDI Channel"}}});

    ZellModWheelControlReferenceData mod;
    expectSpecs (mod, {full ("CC"), full ("Min"), full ("Max", 127), channel});
    expectModes (mod, {{"Default", {"MIDI Channel", "CC", "Min", "Max"}}});

    ZellSustainControlReferenceData sustain;
    expectSpecs (sustain, {full ("CC"), full ("Pressed", 127), full ("Released"), channel});
    expectModes (sustain, {{"Default", {"MIDI Channel", "CC", "Pressed", "Released"}}});

    for (const ZellControlReferenceData* data :
         {(ZellControlReferenceData*)&pitch, (ZellControlReferenceData*)&mod,
          (ZellControlReferenceData*)&sustain})
    {
        EXPECT_FALSE (data->parameterLabels.contains ("Mode"));
        EXPECT_EQ (data->getPanelSize(), juce::Point<int> (280, 211));
    }
}

TEST (ReferenceData, KnobHasCcAndAftertouchModes)
{
    ZellKnobControlReferenceData data;
    expectSpecs (data, {mode, channel, full ("CC"), full ("Min"), full ("Max", 127)});
    expectModes (data, {{"CC", {"Mode", "MIDI Channel", "CC", "Min", "Max"}},
                        {"Aftertouch", {"Mode", "MIDI Channel", "Min", "Max"}}});
    EXPECT_EQ (data.getPanelSize(), juce::Point<int> (280, 211));
}

TEST (ReferenceData, PadFollowsTheLayoutIdsAndHasFourModes)
{
    ZellPadControlReferenceData data;
    expectSpecs (data, {mode,
                        channel,
                        full ("Note"),
                        full ("CC"),
                        full ("Bank MSB"),
                        {"Curve", 1, 8, 1, 1, 0},
                        full ("Pressed", 127),
                        full ("Toggle On", 127),
                        full ("Bank LSB"),
                        full ("Fixed"),
                        full ("Released"),
                        full ("Toggle Off"),
                        full ("Program")});
    expectModes (data, {{"Note", {"Mode", "MIDI Channel", "Note", "Fixed", "Curve"}},
                        {"CC Toggle", {"Mode", "MIDI Channel", "CC", "Toggle On", "Toggle Off"}},
                        {"CC Momentary", {"Mode", "MIDI Channel", "CC", "Pressed", "Released"}},
                        {"Program Change", {"Mode", "MIDI Channel", "Bank LSB", "Bank MSB", "Program"}}});
    EXPECT_EQ (data.modeNames.indexOf ("Program Change"), 3);

    const auto& layoutIds = controlSchema (ControlType::Pad).getParameters();
    for (size_t id = 0; id < layoutIds.size(); ++id)
        EXPECT_EQ (data.parameterLabels[static_cast<int> (id)], layoutIds[id].label);
}

TEST (ReferenceData, SwitchFollowsTheLayoutIdsAndHasThreeModes)
{
    ZellSwitchControlReferenceData data;
    expectSpecs (data, {mode, channel, full ("CC"), full ("Pressed", 127), full ("Released"),
                        full ("Toggle On", 127), full ("Toggle Off"), full ("Bank MSB"), full ("Bank LSB"),
                        full ("Program")});
    expectModes (data, {{"CC Toggle", {"Mode", "MIDI Channel", "CC", "Toggle On", "Toggle Off"}},
                        {"CC Momentary", {"Mode", "MIDI Channel", "CC", "Pressed", "Released"}},
                        {"Program Change", {"Mode", "MIDI Channel", "Bank LSB", "Bank MSB", "Program"}}});
    EXPECT_EQ (data.modeNames.indexOf ("Program Change"), 2);

    const auto& layoutIds = controlSchema (ControlType::Switch).getParameters();
    for (size_t id = 0; id < layoutIds.size(); ++id)
        EXPECT_EQ (data.parameterLabels[static_cast<int> (id)], layoutIds[id].label);
}

TEST (ReferenceData, EveryModeRowIsAParameterAndEveryNameIsKnownToTheLayout)
{
    // A row without a parameter would silently vanish from the panel; a parameter name missing
    // from the layout would never reach a preset byte.
    juce::StringArray layoutNames;
    for (const auto& entry : ParameterIndex::all())
        layoutNames.add (entry.name);

    const std::pair<std::unique_ptr<ZellControlReferenceData>, const char*> types[] = {
        {std::make_unique<ZellKeyboardControlReferenceData>(), "Keybed"},
        {std::make_unique<ZellPitchWheelControlReferenceData>(), "Pitch Wheel"},
        {std::make_unique<ZellModWheelControlReferenceData>(), "Mod Wheel"},
        {std::make_unique<ZellSustainControlReferenceData>(), "Sustain"},
        {std::make_unique<ZellKnobControlReferenceData>(), "Knob 1"},
        {std::make_unique<ZellPadControlReferenceData>(), "Pad 1"},
        {std::make_unique<ZellSwitchControlReferenceData>(), "Switch 1"},
    };

    for (const auto& [data, control] : types)
    {
        for (const auto& modeName : data->modeNames)
            for (const auto& row : data->getModeParameters (modeName))
                EXPECT_TRUE (data->parameterLabels.contains (row))
                    << control << " " << modeName << " " << row;

        for (const auto& label : data->parameterLabels)
            EXPECT_TRUE (layoutNames.contains (juce::String (control) + " " + label))
                << control << " " << label;
    }
}

TEST (ReferenceData, UnknownNamesThrow)
{
    ZellKnobControlReferenceData data;
    EXPECT_THROW (data.getMinimum ("Note"), std::out_of_range);
    EXPECT_THROW (data.getWidgetKind (""), std::out_of_range);
    EXPECT_THROW (data.getModeParameters ("Note"), std::out_of_range);
    EXPECT_FALSE (data.hasMode ("Note"));
    EXPECT_TRUE (data.hasMode ("Aftertouch"));
}
