#include "editor/ComboBoxParameterValue.h"

ComboBoxParameterValue::ComboBoxParameterValue (const juce::String& parameterName, double offset)
    : juce::ComboBox (juce::String())
{
    // Item ids start at 1, so stored value 0 is item id 1.
    displayOffset = offset + 1.0;
    setName (parameterName);
    juce::ComboBox::addListener (this);
}

ComboBoxParameterValue::~ComboBoxParameterValue()
{
    juce::ComboBox::removeListener (this);
}

void ComboBoxParameterValue::addListener (ParameterValue::Listener* listener)
{
    if (listener != nullptr)
        listeners.add (listener);
}

void ComboBoxParameterValue::setValue (double storedValue)
{
    const juce::MessageManagerLock lock;
    const auto itemId = static_cast<int> (storedValue + displayOffset);

    // An id that names no item would clear the selection; refuse it like an out-of-range number.
    if (indexOfItemId (itemId) < 0)
        return;

    setSelectedId (itemId, juce::sendNotificationSync);
}

double ComboBoxParameterValue::getValue()
{
    const juce::MessageManagerLock lock;
    const auto id = getSelectedId();
    return id == 0 ? -1.0 : id - displayOffset;
}

juce::String ComboBoxParameterValue::getParameterName()
{
    return getName();
}

void ComboBoxParameterValue::setParameterName (const juce::String& name)
{
    setName (name);
}

int ComboBoxParameterValue::getMinimum (bool storedUnits)
{
    return storedUnits ? 0 : 1;
}

int ComboBoxParameterValue::getMaximum (bool storedUnits)
{
    return static_cast<int> (getNumItems() - (storedUnits ? displayOffset : 0.0));
}

bool ComboBoxParameterValue::keyPressed (const juce::KeyPress& key)
{
    return !key.getModifiers().isCommandDown() && juce::ComboBox::keyPressed (key);
}

void ComboBoxParameterValue::comboBoxChanged (juce::ComboBox*)
{
    // The box is narrower than the longer modes' names ("CC Toggle", "Program Change").
    setTooltip (getText());

    listeners.call ([this] (ParameterValue::Listener& listener) { listener.parameterValueChanged (this); });
}

std::unique_ptr<ComboBoxParameterValue> createComboBoxParameterValue (const juce::StringArray& modeNames,
                                                                      const juce::String& parameterName)
{
    auto box = std::make_unique<ComboBoxParameterValue> (parameterName, 0.0);

    box->setEditableText (false);
    box->setJustificationType (juce::Justification::centredLeft);
    box->setTextWhenNothingSelected ({});
    box->setTextWhenNoChoicesAvailable ({});
    box->addItemList (modeNames, 1);
    box->setParameterName (parameterName);
    box->setWantsKeyboardFocus (true);
    box->setColour (juce::ComboBox::textColourId, juce::Colour (0xff117fc6));
    box->setColour (juce::ComboBox::arrowColourId, juce::Colour (0xff117fc6));

    return box;
}
