#pragma once

#include "editor/ParameterValue.h"
#include "preset/PresetModel.h"

/** A binding without a widget whose box is one of a PresetModel's: what a controller loads into
    it lands in the model, and what it reports is the model's value. It lets a controller run
    without windows, by the same rules it follows with the editor's widgets attached.
*/
class ModelParameterValue final : public ParameterValue
{
public:
    ModelParameterValue (PresetModel& model, const juce::String& name);

    void addListener (ParameterValue::Listener* listener);
    void removeListener (ParameterValue::Listener* listener);
    /** Tells the listeners of the current value, as a widget does when it is first shown. */
    void announce();

    void setValue (double storedValue) override;
    double getValue() override;
    juce::String getParameterName() override { return name; }
    void setParameterName (const juce::String& newName) override { name = newName; }
    int getMinimum (bool storedUnits) override;
    int getMaximum (bool storedUnits) override;

private:
    PresetModel& model;
    juce::String name;
    juce::ListenerList<ParameterValue::Listener> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModelParameterValue)
};
