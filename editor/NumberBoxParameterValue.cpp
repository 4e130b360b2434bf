#include "editor/NumberBoxParameterValue.h"

NumberBoxParameterValue::NumberBoxParameterValue (const juce::String& parameterName, double offset)
{
    displayOffset = offset;
    setName (parameterName);
    NumberBox::addListener (this);
}

NumberBoxParameterValue::~NumberBoxParameterValue() = default;

void NumberBoxParameterValue::addListener (ParameterValue::Listener* listener)
{
    if (listener != nullptr)
        listeners.add (listener);
}

void NumberBoxParameterValue::setValue (double storedValue)
{
    const juce::MessageManagerLock lock;
    NumberBox::setValue (storedValue + displayOffset, true);
}

double NumberBoxParameterValue::getValue()
{
    const juce::MessageManagerLock lock;
    return NumberBox::getValue() - displayOffset;
}

juce::String NumberBoxParameterValue::getParameterName()
{
    const juce::MessageManagerLock lock;
    return getName();
}

void NumberBoxParameterValue::setParameterName (const juce::String& name)
{
    const juce::MessageManagerLock lock;
    setName (name);
}

int NumberBoxParameterValue::getMinimum (bool storedUnits)
{
    return static_cast<int> (NumberBox::getMinimum() - (storedUnits ? displayOffset : 0.0));
}

int NumberBoxParameterValue::getMaximum (bool storedUnits)
{
    return static_cast<int> (NumberBox::getMaximum() - (storedUnits ? displayOffset : 0.0));
}

void NumberBoxParameterValue::numberBoxValueChanged (NumberBox*)
{
    listeners.call ([this] (ParameterValue::Listener& listener) { listener.parameterValueChanged (this); });
}

std::unique_ptr<NumberBoxParameterValue> createNumberBoxParameterValue (int minimum, int maximum,
                                                                        int defaultValue, int displayOffset,
                                                                        const juce::String& parameterName)
{
    auto box = std::make_unique<NumberBoxParameterValue> (parameterName, displayOffset);

    box->setMultiLine (false, false);
    box->setReturnKeyStartsNewLine (false);
    box->setReadOnly (false);
    box->setScrollbarsShown (true);
    box->setCaretVisible (true);
    box->setPopupMenuEnabled (true);

    box->setColour (juce::TextEditor::backgroundColourId, juce::Colour (0xffffffff));
    box->setColour (juce::TextEditor::outlineColourId, juce::Colour (0xff00ffff));
    box->setColour (juce::TextEditor::textColourId, juce::Colour (0xff117fc6));

    box->applyFontToAllText (juce::Font (18.0f, juce::Font::plain));

    box->setMinimum (minimum);
    box->setMaximum (maximum);
    // No listener is attached yet, so showing the default tells nobody.
    box->setValue (static_cast<double> (defaultValue - displayOffset));
    box->setParameterName (parameterName);

    return box;
}
