#pragma once

#include "preset/PresetModel.h"

#include <juce_core/juce_core.h>
#include <vector>

/** The shown parameters in which two presets differ, each value in the words its box shows it in.
    The rows of the first preset come in its order, then those only the second shows; where one
    side's mode hides a row, that side reads "(not shown)".
*/
class PresetDifference
{
public:
    struct Row
    {
        juce::String name;
        juce::String first;
        juce::String second;
    };

    static std::vector<Row> between (const PresetModel& first, const PresetModel& second);

    /** A shown value as text; "(not shown)" for none. */
    static juce::String textOf (const juce::var& value);
};
