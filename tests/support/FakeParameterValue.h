#pragma once

#include "editor/ParameterValue.h"

/** A binding without a widget: a named value with a stored-unit range that keeps the contract the
    controller relies on (accepted values notify every listener before setValue returns). */
class FakeParameterValue final : public ParameterValue
{
public:
    FakeParameterValue (juce::String parameterName, int storedMinimum, int storedMaximum,
                        double initial = 0.0)
        : name (std::move (parameterName)), minimum (storedMinimum), maximum (storedMaximum), value (initial)
    {
    }

    void addListener (ParameterValue::Listener* listener) { listeners.addIfNotAlreadyThere (listener); }

    /** As if the user entered a value: accepted within range, then reported. */
    void userSets (double stored) { setValue (stored); }

    void setValue (double stored) override
    {
        ++setValueCalls;
        if (stored < minimum || stored > maximum)
            return;
        value = stored;
        for (int i = listeners.size(); --i >= 0;)
            listeners[i]->parameterValueChanged (this);
    }

    double getValue() override { return value; }
    juce::String getParameterName() override { return name; }
    void setParameterName (const juce::String& newName) override { name = newName; }
    int getMinimum (bool) override { return minimum; }
    int getMaximum (bool) override { return maximum; }

    int setValueCalls = 0;

private:
    juce::String name;
    int minimum;
    int maximum;
    double value;
    juce::Array<ParameterValue::Listener*> listeners;
};
