#pragma once

#include <juce_core/juce_core.h>

/** One editable preset parameter as the preset model sees it: a widget bound to a parameter name.

    Two units: the stored value is what the preset byte holds, the widget value is what the widget
    shows or selects; widget value = stored value + displayOffset.
*/
class ParameterValue
{
public:
    /** Told each time the parameter takes a value, from the user or from setValue. */
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void parameterValueChanged (ParameterValue* value) = 0;

        /** A widget was just bound and shows its default. A listener that holds the values
            (a document's preset) makes it show the one it holds; by default the listener hears of
            the default as of any other value. */
        virtual void parameterValueAdded (ParameterValue* value) { parameterValueChanged (value); }
    };

    virtual ~ParameterValue() = default;

    /** Makes the widget show a stored value; listeners hear of it before this returns.
        A value outside the range is refused and nobody is told. */
    virtual void setValue (double storedValue) = 0;
    /** The widget's current value in stored units. */
    virtual double getValue() = 0;
    virtual juce::String getParameterName() = 0;
    virtual void setParameterName (const juce::String& name) = 0;
    /** The lowest accepted value, in stored units when storedUnits is true, else widget units. */
    virtual int getMinimum (bool storedUnits) = 0;
    virtual int getMaximum (bool storedUnits) = 0;

protected:
    double displayOffset = 0.0;
};
