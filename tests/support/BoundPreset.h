#pragma once

#include "FakeParameterValue.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetController.h"

#include <memory>
#include <vector>

/** One fake binding per parameter name, with the stored ranges the editor's widgets have,
    registered with a controller the way the views register theirs. */
class BoundPreset
{
public:
    explicit BoundPreset (PresetController& controller)
    {
        for (const auto& entry : ParameterIndex::all())
        {
            const auto [minimum, maximum] = storedRange (entry.name);
            auto binding = std::make_unique<FakeParameterValue> (entry.name, minimum, maximum);
            binding->addListener (&controller);
            binding->userSets (minimum);
            bindings.push_back (std::move (binding));
        }
    }

    FakeParameterValue& operator[] (const juce::String& name)
    {
        for (auto& binding : bindings)
            if (binding->getParameterName() == name)
                return *binding;
        throw std::out_of_range (name.toStdString());
    }

    static std::pair<int, int> storedRange (const juce::String& name)
    {
        if (name.endsWith ("MIDI Channel"))
            return {0, 15};
        if (name.endsWith ("Curve"))
            return {0, 7};
        if (name == "Keybed Transpose")
            return {0, 24};
        if (name == "Keybed Octave")
            return {0, 6};
        if (name.endsWith ("Mode"))
            return {0, name.startsWith ("Knob") ? 1 : name.startsWith ("Pad") ? 3 : 2};
        return {0, 127};
    }

private:
    std::vector<std::unique_ptr<FakeParameterValue>> bindings;
};
