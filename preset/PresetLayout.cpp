#include "preset/PresetLayout.h"

#include "MarloArtwork.h"

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
constexpr std::array<SectionInfo, 7> sections { {
    { "Keybed", 1, 4 },
    { "Pitch Wheel", 1, 1 },
    { "Mod Wheel", 1, 4 },
    { "Sustain", 1, 4 },
    { "Knob", 4, 5 },
    { "Pad", 8, 5 },
    { "Switch", 4, 5 },
} };

struct LabelByte
{
    const char* label;
    int byte;
};

// Each list is in registration order; byte is the label's position inside the control.
constexpr std::array<LabelByte, 4> keybedLabels { { { "MIDI Channel", 2 }, { "Transpose", 0 }, { "Octave", 1 }, { "Curve", 3 } } };
constexpr std::array<LabelByte, 1> pitchWheelLabels { { { "MIDI Channel", 0 } } };
constexpr std::array<LabelByte, 4> modWheelLabels { { { "CC", 1 }, { "Min", 2 }, { "Max", 3 }, { "MIDI Channel", 0 } } };
constexpr std::array<LabelByte, 4> sustainLabels { { { "CC", 0 }, { "Pressed", 2 }, { "Released", 1 }, { "MIDI Channel", 3 } } };
constexpr std::array<LabelByte, 5> knobLabels { { { "Mode", 0 }, { "MIDI Channel", 4 }, { "CC", 1 }, { "Min", 2 }, { "Max", 3 } } };

// Indexed by PadParameter.
constexpr std::array<LabelByte, 13> padLabels { {
    { "Mode", 0 },
    { "MIDI Channel", 4 },
    { "Note", 1 },
    { "CC", 1 },
    { "Bank MSB", 3 },
    { "Curve", 3 },
    { "Pressed", 2 },
    { "Toggle On", 2 },
    { "Bank LSB", 2 },
    { "Fixed", 2 },
    { "Released", 3 },
    { "Toggle Off", 3 },
    { "Program", 1 },
} };

// Indexed by SwitchParameter.
constexpr std::array<LabelByte, 10> switchLabels { {
    { "Mode", 0 },
    { "MIDI Channel", 4 },
    { "CC", 1 },
    { "Pressed", 2 },
    { "Released", 3 },
    { "Toggle On", 2 },
    { "Toggle Off", 3 },
    { "Bank MSB", 3 },
    { "Bank LSB", 2 },
    { "Program", 1 },
} };

const SectionInfo& section (ControlType type)
{
    return sections[static_cast<size_t> (type)];
}

template <size_t size>
juce::Array<ParameterAddress> addresses (const std::array<LabelByte, size>& labels, const juce::String& prefix,
                                         int offset)
{
    juce::Array<ParameterAddress> result;
    for (const auto& entry : labels)
        result.add ({ prefix + entry.label, offset + entry.byte });
    return result;
}

template <size_t size>
juce::String labelOf (const std::array<LabelByte, size>& labels, int id)
{
    return juce::isPositiveAndBelow (id, static_cast<int> (size)) ? juce::String (labels[static_cast<size_t> (id)].label)
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
constexpr std::array<SectionBuilder, 7> sectionBuilders { {
    keybedParameters,
    pitchWheelParameters,
    modWheelParameters,
    sustainParameters,
    knobParameters,
    padParameters,
    switchParameters,
} };
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
    return info.controls > 1 ? juce::String (info.word) + " " + juce::String (controlNumber) : juce::String (info.word);
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
    return addresses (keybedLabels, prefix, offset);
}

juce::Array<ParameterAddress> pitchWheelParameters (const juce::String& prefix, int offset)
{
    return addresses (pitchWheelLabels, prefix, offset);
}

juce::Array<ParameterAddress> modWheelParameters (const juce::String& prefix, int offset)
{
    return addresses (modWheelLabels, prefix, offset);
}

juce::Array<ParameterAddress> sustainParameters (const juce::String& prefix, int offset)
{
    return addresses (sustainLabels, prefix, offset);
}

juce::Array<ParameterAddress> knobParameters (const juce::String& prefix, int offset)
{
    return addresses (knobLabels, prefix, offset);
}

juce::Array<ParameterAddress> padParameters (const juce::String& prefix, int offset)
{
    return addresses (padLabels, prefix, offset);
}

juce::Array<ParameterAddress> switchParameters (const juce::String& prefix, int offset)
{
    return addresses (switchLabels, prefix, offset);
}

juce::String padParameterLabel (int id)
{
    return labelOf (padLabels, id);
}

juce::String switchParameterLabel (int id)
{
    return labelOf (switchLabels, id);
}

juce::Array<int> allPadParameters()
{
    return idsBelow (static_cast<int> (padLabels.size()));
}

juce::Array<int> allSwitchParameters()
{
    return idsBelow (static_cast<int> (switchLabels.size()));
}

juce::Array<ParameterAddress> presetLayout()
{
    juce::Array<ParameterAddress> layout;
    for (size_t i = 0; i < sections.size(); ++i)
    {
        const auto type = static_cast<ControlType> (i);
        for (int n = 1; n <= controlCount (type); ++n)
            layout.addArray (sectionBuilders[i] (controlTitle (type, n) + " ", controlOffset (type, n)));
    }
    return layout;
}

juce::Array<juce::uint8> factoryPresetData()
{
    // The stored dump is a complete message: F0, eight header bytes, the image, F7.
    constexpr int payloadStart = 9;
    const auto* dump = reinterpret_cast<const juce::uint8*> (MarloArt::factoryPresetDump_syx);
    juce::Array<juce::uint8> data (dump + payloadStart, presetDataLength());

    // The factory dump holds the keybed octave one higher than a new document starts with.
    constexpr int octaveOffset = 1;
    if (data[octaveOffset] > 0)
        data.set (octaveOffset, static_cast<juce::uint8> (data[octaveOffset] - 1));
    return data;
}
