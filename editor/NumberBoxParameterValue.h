#pragma once

#include "editor/NumberBox.h"
#include "editor/ParameterValue.h"

/** A number box bound to one preset parameter; the parameter name is the box's component name.

    setValue, getValue, getParameterName and setParameterName hold the message-manager lock, so the
    preset controller may call them from another thread.
*/
class NumberBoxParameterValue final : public ParameterValue, public NumberBox, public NumberBox::Listener
{
public:
    NumberBoxParameterValue (const juce::String& parameterName, double displayOffset);
    ~NumberBoxParameterValue() override;

    /** Adds a listener (not owned) unless it is null or already there. */
    void addListener (ParameterValue::Listener* listener);

    void setValue (double storedValue) override;
    double getValue() override;
    juce::String getParameterName() override;
    void setParameterName (const juce::String& name) override;
    int getMinimum (bool storedUnits) override;
    int getMaximum (bool storedUnits) override;

    void numberBoxValueChanged (NumberBox* box) override;

private:
    juce::ListenerList<ParameterValue::Listener> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NumberBoxParameterValue)
};

/** A bound number box for a parameter shown from minimum to maximum (shown units), showing its
    default; the caller owns it. */
std::unique_ptr<NumberBoxParameterValue> createNumberBoxParameterValue (int minimum, int maximum,
                                                                        int defaultValue, int displayOffset,
                                                                        const juce::String& parameterName);
