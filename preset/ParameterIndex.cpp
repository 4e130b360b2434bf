#include "preset/ParameterIndex.h"

#include <algorithm>
#include <map>

namespace
{
struct Table
{
    Table()
    {
        for (const auto& control : allControls())
        {
            const auto& schema = controlSchema (control.type);
            const auto prefix = controlTitle (control.type, control.controlNumber) + " ";
            const auto first = controlOffset (control.type, control.controlNumber);
            for (const auto& parameter : schema.getParameters())
            {
                const auto index = static_cast<int> (entries.size());
                entries.push_back (
                    {prefix + parameter.label, first + parameter.byte, &schema, &parameter, index});
                byName[entries.back().name] = index;
            }
        }
    }

    std::vector<ParameterIndex::Entry> entries;
    std::map<juce::String, int> byName;
};

const Table& table()
{
    static const Table shared;
    return shared;
}

std::vector<juce::juce_wchar> charactersOf (const juce::String& text)
{
    std::vector<juce::juce_wchar> characters;
    for (auto next = text.getCharPointer(); !next.isEmpty();)
        characters.push_back (next.getAndAdvance());
    return characters;
}

/** Letters to add, drop or change to turn one text into the other. */
int editDistance (const juce::String& first, const juce::String& second)
{
    const auto a = charactersOf (first);
    const auto b = charactersOf (second);
    std::vector<int> previous (b.size() + 1);
    std::vector<int> current (b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        previous[j] = static_cast<int> (j);
    for (size_t i = 1; i <= a.size(); ++i)
    {
        current[0] = static_cast<int> (i);
        for (size_t j = 1; j <= b.size(); ++j)
            current[j] = std::min (
                {previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
        std::swap (previous, current);
    }
    return previous[b.size()];
}
} // namespace

const ParameterIndex::Entry* ParameterIndex::find (const juce::String& name)
{
    const auto& shared = table();
    const auto found = shared.byName.find (name);
    return found == shared.byName.end() ? nullptr : &shared.entries[static_cast<size_t> (found->second)];
}

const std::vector<ParameterIndex::Entry>& ParameterIndex::all()
{
    return table().entries;
}

const ParameterIndex::Entry* ParameterIndex::findIgnoringCase (const juce::String& name)
{
    if (const auto* exact = find (name))
        return exact;
    for (const auto& entry : all())
        if (entry.name.equalsIgnoreCase (name))
            return &entry;
    return nullptr;
}

juce::StringArray ParameterIndex::nearest (const juce::String& name, int count)
{
    const auto typed = name.toLowerCase();
    const auto farthest = juce::jmax (2, typed.length() / 2);
    std::vector<std::pair<int, int>> near; // distance, index
    for (const auto& entry : all())
        if (const auto distance = editDistance (typed, entry.name.toLowerCase()); distance <= farthest)
            near.emplace_back (distance, entry.index);
    // Equally near names stay in the preset's order.
    std::stable_sort (near.begin(), near.end(),
                      [] (const auto& a, const auto& b) { return a.first < b.first; });

    juce::StringArray names;
    for (const auto& [distance, index] : near)
        if (names.size() < count)
            names.add (all()[static_cast<size_t> (index)].name);
    return names;
}
