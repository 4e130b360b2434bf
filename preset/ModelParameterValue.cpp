#include "preset/ModelParameterValue.h"

#include "preset/ShownValue.h"

ModelParameterValue::ModelParameterValue (PresetModel& presetModel, const juce::String& parameterName)
    : model (presetModel), name (parameterName)
{
    if (const auto* parameter = ShownValue::findParameter (name))
        displayOffset = parameter->spec.displayOffset;
}

void ModelParameterValue::addListener (ParameterValue::Listener* listener)
{
    listeners.add (listener);
}

void ModelParameterValue::removeListener (ParameterValue::Listener* listener)
{
    listeners.remove (listener);
}

void ModelParameterValue::announce()
{
    // GCC 12 takes the framework's iterator bookkeeping inside call() for a dangling pointer; the
    // iterator is removed again before call() returns.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdangling-pointer")
    listeners.call ([this] (ParameterValue::Listener& l) { l.parameterValueChanged (this); });
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

void ModelParameterValue::setValue (double storedValue)
{
    // A value the box does not take is refused silently, as a widget refuses it.
    const auto value = static_cast<int> (storedValue);
    if (static_cast<double> (value) != storedValue || model.setStoredValue (name, value).failed())
        return;
    announce();
}

double ModelParameterValue::getValue()
{
    return static_cast<double> (model.getStoredValue (name).value_or (0));
}

int ModelParameterValue::getMinimum (bool storedUnits)
{
    return ShownValue::storedRangeOf (name).minimum + (storedUnits ? 0 : static_cast<int> (displayOffset));
}

int ModelParameterValue::getMaximum (bool storedUnits)
{
    return ShownValue::storedRangeOf (name).maximum + (storedUnits ? 0 : static_cast<int> (displayOffset));
}
