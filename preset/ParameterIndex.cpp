#include "preset/ParameterIndex.h"

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
