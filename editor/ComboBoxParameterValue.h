#pragma once

#include "editor/ParameterValue.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A combo box bound to one preset parameter: the stored value is the position of the selected
    item, counted from 0. The parameter name is the box's component name. Its tooltip is the
    selected item's whole text, which a narrow box cuts short.

    setValue and getValue hold the message-manager lock, so the preset controller may call them from
    another thread.
*/
class ComboBoxParameterValue final : public ParameterValue,
                                     public juce::ComboBox,
                                     public juce::ComboBox::Listener
{
public:
    ComboBoxParameterValue (const juce::String& parameterName, double offset);
    ~ComboBoxParameterValue() override;

    /** Adds a listener (not owned) unless it is null or already there. */
    void addListener (ParameterValue::Listener* listener);
    using juce::ComboBox::addListener;

    /** Selects the item with synchronous notification; the same item again tells nobody. */
    void setValue (double storedValue) override;
    /** -1 when nothing is selected. */
    double getValue() override;
    juce::String getParameterName() override;
    void setParameterName (const juce::String& name) override;
    int getMinimum (bool storedUnits) override;
    int getMaximum (bool storedUnits) override;

    void comboBoxChanged (juce::ComboBox* box) override;
    /** Keys with Ctrl (Cmd) go on to the window's commands: Ctrl+Left must step the bank, not the
        mode. */
    bool keyPressed (const juce::KeyPress& key) override;

private:
    juce::ListenerList<ParameterValue::Listener> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ComboBoxParameterValue)
};

/** A bound combo box listing the mode names with item ids 1, 2, 3 ...; the caller owns it. */
std::unique_ptr<ComboBoxParameterValue> createComboBoxParameterValue (const juce::StringArray& modeNames,
                                                                      const juce::String& parameterName);
