#include "preset/PresetDifference.h"

#include "preset/ShownValue.h"

juce::String PresetDifference::textOf (const juce::var& value)
{
    return value.isVoid() ? juce::String ("(not shown)") : value.toString();
}

std::vector<PresetDifference::Row> PresetDifference::between (const PresetModel& first,
                                                              const PresetModel& second)
{
    const auto shownFirst = first.getShownNames();
    const auto shownSecond = second.getShownNames();
    auto names = shownFirst;
    names.addArray (shownSecond);
    names.removeDuplicates (false);

    std::vector<Row> rows;
    for (const auto& name : names)
    {
        const auto a = textOf (shownFirst.contains (name) ? ShownValue::of (first, name) : juce::var());
        const auto b = textOf (shownSecond.contains (name) ? ShownValue::of (second, name) : juce::var());
        if (a != b)
            rows.push_back ({name, a, b});
    }
    return rows;
}
