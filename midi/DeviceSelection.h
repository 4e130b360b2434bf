#pragma once

#include "midi/DeviceManagerComponent.h"
#include "midi/DeviceSettings.h"
#include "midi/MidiManager.h"

#include <functional>

/** Reads the device lists once, shows them with the current choice selected, and hands the
    selected names to the MIDI manager; where there are settings, keeps or forgets them for the
    next start as the check box says. */
class DeviceSelection
{
public:
    /** None is owned; all outlive this object. Without settings the check box changes nothing. */
    DeviceSelection (MidiManager& midiManager, DeviceManagerComponent& component,
                     DeviceSettings* settings = nullptr);

    /** The output first, then the input; an unselected list gives an empty name. Then the names
        are remembered, or the settings file removed, as the check box says. */
    void applySelection();
    /** Selects the rows of these names (the last of equal names), as a click on them would. */
    void select (const juce::String& input, const juce::String& output);

    const juce::StringArray& getInputNames() const noexcept { return inputNames; }
    const juce::StringArray& getOutputNames() const noexcept { return outputNames; }

private:
    static void selectMatchingRows (const juce::StringArray& names, const juce::String& current,
                                    const std::function<void (int)>& selectRow);
    static juce::String nameAt (const juce::StringArray& names, int row);
    void rememberOrForget (const DeviceSettings::Devices& chosen);

    DeviceManagerComponent* component;
    juce::StringArray inputNames;
    juce::StringArray outputNames;
    MidiManager* midiManager;
    DeviceSettings* settings;
};
