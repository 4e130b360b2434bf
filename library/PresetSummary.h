#pragma once

#include "preset/PresetCodec.h"

#include <juce_core/juce_core.h>

/** One line of what a preset sends, for a list of many presets: the knobs', pads' and switches'
    messages with their numbers and channels, each kind of control with its modes, e.g.
    "Knobs CC 20-23 ch 1 · Pads notes 36-43 ch 10 · Switches CC 80-83 ch 1". Numbers that rise by
    one from control to control are a range, others are listed in the controls' order.
*/
class PresetSummary
{
public:
    static juce::String of (const PresetCodec::Image& image);

    /** "5", "20-23", "36, 38, 40": a list of numbers as the line shows it; the same number
        throughout is one. */
    static juce::String numbers (const juce::Array<int>& values);
};
