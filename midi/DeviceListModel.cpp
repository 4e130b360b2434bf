#include "midi/DeviceListModel.h"

void DeviceListModel::addDevice (const juce::String& name)
{
    names.add (name);
}

int DeviceListModel::getNumRows()
{
    return names.size();
}

void DeviceListModel::paintListBoxItem (int rowNumber, juce::Graphics& g, int width, int height,
                                        bool rowIsSelected)
{
    if (!juce::isPositiveAndBelow (rowNumber, names.size()))
        return;

    // The list is transparent over a dark frame: unselected rows are white text, the selected
    // row is inverted.
    if (rowIsSelected)
    {
        g.fillAll (juce::Colours::white);
        g.setColour (juce::Colours::black);
    }
    else
    {
        g.setColour (juce::Colours::white);
    }

    g.setFont ((float)height * 0.7f);
    g.drawText (names[rowNumber], 5, 0, width, height, juce::Justification::centredLeft, true);
}
