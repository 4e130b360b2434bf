#include "preset/PresetLayout.h"

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

/** Offset of the type's section: the sum of the sizes of every earlier section. */
int sectionOffset (ControlType type)
{
    int offset = 0;
    for (size_t i = 0; i < static_cast<size_t> (type); ++i)
        offset += sections[i].controls * sections[i].bytesPerControl;
    return offset;
}
} // namespace

int bytesPerControl (ControlType type)
{
    return section (type).bytesPerControl;
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
        if (offset >= first && offset < first + size * section (type).controls)
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
