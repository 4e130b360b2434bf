#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The rows of one device list: device names in the order added. */
class DeviceListModel final : public juce::ListBoxModel
{
public:
    DeviceListModel() = default;

    void addDevice (const juce::String& name);
    /** Replaces every row. */
    void setDevices (const juce::StringArray& newNames) { names = newNames; }

    int getNumRows() override;
    void paintListBoxItem (int rowNumber, juce::Graphics& g, int width, int height,
                           bool rowIsSelected) override;

private:
    juce::StringArray names;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceListModel)
};
