#include "preset/PresetLayout.h"

#include "preset/ControlSchema.h"

#include "MarloPresetData.h"

#include <array>

namespace
{
struct SectionInfo
{
    const char* word;
    int controls;
    int bytesPerControl;
};

// In section order; every offset and the image length are derived from this table.
constexpr std::array<SectionInfo, 7> sections{{
    {"Keybed", 1, 4},
    {"Pitch Wheel", 1, 1},
    {"Mod Wheel", 1, 4},
    {"Sustain", 1, 4},
    {"Knob", 4, 5},
    {"Pad", 8, 5},
    {"Switch", 4, 5},
}};

const SectionInfo& section (ControlType type)
{
    return sections[static_cast<size_t> (type)];
}

juce::Array<ParameterAddress> addresses (ControlType type, const juce::String& prefix, int offset)
{
    juce::Array<ParameterAddress> result;
    for (const auto& parameter : controlSchema (type).getParameters())
        result.add ({prefix + parameter.label, offset + parameter.byte});
    return result;
}

juce::String labelOf (ControlType type, int id)
{
    const auto& parameters = controlSchema (type).getParameters();
    return juce::isPositiveAndBelow (id, static_cast<int> (parameters.size()))
               ? parameters[static_cast<size_t> (id)].label
               : juce::String();
}

juce::Array<int> idsBelow (int count)
{
    juce::Array<int> ids;
    for (int id = 0; id < count; ++id)
        ids.add (id);
    return ids;
}

using SectionBuilder = juce::Array<ParameterAddress> (*) (const juce::String&, int);

// The builder of each section, in section order.
constexpr std::array<SectionBuilder, 7> sectionBuilders{{
    keybedParameters,
    pitchWheelParameters,
    modWheelParameters,
    sustainParameters,
    knobParameters,
    padParameters,
    switchParameters,
}};
} // namespace

int controlCount (ControlType type)
{
    return section (type).controls;
}

int bytesPerControl (ControlType type)
{
    return section (type).bytesPerControl;
}

int sectionOffset (ControlType type)
{
    int offset = 0;
    for (size_t i = 0; i < static_cast<size_t> (type); ++i)
        offset += sections[i].controls * sections[i].bytesPerControl;
    return offset;
}

int controlOffset (ControlType type, int controlNumber)
{
    return sectionOffset (type) + bytesPerControl (type) * (controlNumber - 1);
}

juce::String controlTitle (ControlType type, int controlNumber)
{
    const auto& info = section (type);
    return info.controls > 1 ? juce::String (info.word) + " " + juce::String (controlNumber)
                             : juce::String (info.word);
}

juce::Array<ControlPosition> allControls()
{
    juce::Array<ControlPosition> controls;
    for (size_t i = 0; i < sections.size(); ++i)
        for (int n = 1; n <= sections[i].controls; ++n)
            controls.add ({static_cast<ControlType> (i), n, 0});
    return controls;
}

std::optional<ControlPosition> controlAt (int offset)
{
    for (size_t i = 0; i < sections.size(); ++i)
    {
        const auto type = static_cast<ControlType> (i);
        const auto first = sectionOffset (type);
        const auto size = bytesPerControl (type);
        if (offset >= first && offset < first + size * controlCount (type))
            return ControlPosition{type, (offset - first) / size + 1, (offset - first) % size};
    }
    return std::nullopt;
}

juce::uint8 presetDataLength()
{
    juce::uint8 length = 0;
    for (const auto& info : sections)
        length = static_cast<juce::uint8> (length + info.controls * info.bytesPerControl);
    return length;
}

juce::Array<ParameterAddress> keybedParameters (const juce::String& prefix, int offset)
{
    return addresses (ControlType::Keybed, prefix, offset);
}

juce::Array<ParameterAddress> pitchWheelParameters (const juce::String& prefix, int offset)
{
    return addresses (ControlType::PitchWheel, prefix, offset);
}

juce::Array<ParameterAddress> modWheelParameters (const juce::String& prefix, int offset)
{
    return addresses (ControlType::ModWheel, prefix, offset);
}

juce::Array<ParameterAddress> sustainParameters (const juce::String& prefix, int offset)
{
    return addresses (ControlType::Sustain, prefix, offset);
}

juce::Array<ParameterAddress> knobParameters (const juce::String& prefix, int offset)
{
    return addresses (ControlType::Knob, prefix, offset);
}

juce::Array<ParameterAddress> padParameters (const juce::String& prefix, int offset)
{
    return addresses (ControlType::Pad, prefix, offset);
}

juce::Array<ParameterAddress> switchParameters (const juce::String& prefix, int offset)
{
    return addresses (ControlType::Switch, prefix, offset);
}

juce::String padParameterLabel (int id)
{
    return labelOf (ControlType::Pad, id);
}

juce::String switchParameterLabel (int id)
{
    return labelOf (ControlType::Switch, id);
}

juce::Array<int> allPadParameters()
{
    return idsBelow (static_cast<int> (controlSchema (ControlType::Pad).getParameters().size()));
}

juce::Array<int> allSwitchParameters()
{
    return idsBelow (static_cast<int> (controlSchema (ControlType::Switch).getParameters().size()));
}

juce::Array<ParameterAddress> presetLayout()
{
    juce::Array<ParameterAddress> layout;
    for (const auto& control : allControls())
        layout.addArray (sectionBuilders[static_cast<size_t> (control.type)](
            controlTitle (control.type, control.controlNumber) + " ",
            controlOffset (control.type, control.controlNumber)));
    return layout;
}

juce::Array<juce::uint8> factoryPresetData()
{
    // The stored dump is a complete message: F0, eight header bytes, the image, F7.
    constexpr int payloadStart = 9;
    const auto* dump = reinterpret_cast<const juce::uint8*> (MarloPresetData::factoryPresetDump_syx);
    juce::Array<juce::uint8> data (dump + payloadStart, presetDataLength());

    // The factory dump holds the keybed octave one higher than a new document starts with.
    constexpr int octaveOffset = 1;
    if (data[octaveOffset] > 0)
        data.set (octaveOffset, static_cast<juce::uint8> (data[octaveOffset] - 1));
    return data;
}
