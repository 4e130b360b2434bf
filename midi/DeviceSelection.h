#pragma once

#include "midi/DeviceManagerComponent.h"
#include "midi/MidiManager.h"

#include <functional>

/** Reads the device lists once, shows them with the current choice selected, and hands the
    selected names to the MIDI manager. */
class DeviceSelection
{
public:
    /** Neither is owned; both outlive this object. */
    DeviceSelection (MidiManager& midiManager, DeviceManagerComponent& component);

    /** The output first, then the input; an unselected list gives an empty name. */
    void applySelection();

    const juce::StringArray& getInputNames() const noexcept { return inputNames; }
    const juce::StringArray& getOutputNames() const noexcept { return outputNames; }

private:
    static void selectMatchingRows (const juce::StringArray& names, const juce::String& current,
                                    const std::function<void (int)>& selectRow);
    static juce::String nameAt (const juce::StringArray& names, int row);

    DeviceManagerComponent* component;
    juce::StringArray inputNames;
    juce::StringArray outputNames;
    MidiManager* midiManager;
};
