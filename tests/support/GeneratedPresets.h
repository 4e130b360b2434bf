#pragma once

#include "preset/ParameterIndex.h"
#include "preset/PresetCodec.h"
#include "preset/PresetLayout.h"

/** The factory preset with knobs 1 and 2's CC numbers and knob 3's Min set from `n`: a valid
    preset that differs from every other number's below 128 ^ 3. */
inline PresetCodec::Image generatedPreset (int n)
{
    auto image = factoryPresetData();
    image.set (ParameterIndex::find ("Knob 1 CC")->offset, static_cast<juce::uint8> (n % 128));
    image.set (ParameterIndex::find ("Knob 2 CC")->offset, static_cast<juce::uint8> (n / 128 % 128));
    image.set (ParameterIndex::find ("Knob 3 Min")->offset, static_cast<juce::uint8> (n / 16384 % 128));
    return image;
}

/** Writes the preset as a ".marlo" file, making its folder. */
inline void writePreset (const juce::File& file, const PresetCodec::Image& image)
{
    file.getParentDirectory().createDirectory();
    const auto content = PresetCodec::encodeFile (image);
    file.replaceWithData (content.getData(), content.getSize());
}
