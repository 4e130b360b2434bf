#include "preset/ShownValue.h"

#include "preset/ParameterIndex.h"

namespace
{
struct Found
{
    const ControlSchema* schema = nullptr;
    const ControlSchema::Parameter* parameter = nullptr;
};

Found find (const juce::String& name)
{
    if (const auto* entry = ParameterIndex::find (name))
        return {entry->schema, entry->parameter};
    return {};
}

bool isModeSelector (const ControlSchema::Parameter& parameter)
{
    return parameter.spec.widgetKind == 1;
}
} // namespace

const ControlSchema::Parameter* ShownValue::findParameter (const juce::String& name)
{
    return find (name).parameter;
}

ControlSchema::StoredRange ShownValue::storedRangeOf (const juce::String& name)
{
    const auto found = find (name);
    if (found.parameter == nullptr)
        return {};
    return found.schema->getStoredRange (*found.parameter);
}

juce::var ShownValue::of (const PresetModel& model, const juce::String& name)
{
    const auto found = find (name);
    const auto stored = model.getStoredValue (name);
    if (found.parameter == nullptr || !stored.has_value())
        return {};
    if (isModeSelector (*found.parameter))
    {
        const auto* mode = found.schema->findMode (*stored);
        return mode != nullptr ? juce::var (mode->name) : juce::var (*stored);
    }
    return *stored + found.parameter->spec.displayOffset;
}

juce::Result ShownValue::parse (const juce::String& name, const juce::String& text, int& storedValue)
{
    const auto found = find (name);
    if (found.parameter == nullptr)
        return juce::Result::fail ("there is no parameter \"" + name + "\"");

    if (isModeSelector (*found.parameter))
    {
        const auto index = found.schema->indexOfMode (text);
        if (index < 0)
            return juce::Result::fail (name + " is one of \"" +
                                       found.schema->getModeNames().joinIntoString ("\", \"") + "\", not \"" +
                                       text + "\"");
        storedValue = index;
        return juce::Result::ok();
    }

    const auto& spec = found.parameter->spec;
    const auto trimmed = text.trim();
    const auto shown = trimmed.getIntValue();
    if (!isNumber (trimmed) || trimmed.retainCharacters ("0123456789").length() > 4 || shown < spec.minimum ||
        shown > spec.maximum)
        return juce::Result::fail (name + " takes " + juce::String (spec.minimum) + " to " +
                                   juce::String (spec.maximum) + ", not \"" + text + "\"");
    storedValue = shown - spec.displayOffset;
    return juce::Result::ok();
}

bool ShownValue::isNumber (const juce::String& text)
{
    const auto digits = text.startsWithChar ('-') || text.startsWithChar ('+') ? text.substring (1) : text;
    return digits.isNotEmpty() && digits.containsOnly ("0123456789");
}
