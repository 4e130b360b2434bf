#pragma once

#include "midi/DeviceManagerComponent.h"
#include "midi/DeviceSettings.h"
#include "midi/MidiManager.h"

#include <functional>

/** Shows the device lists with the current choice selected, follows them as devices come and go,
    and hands the selected names to the MIDI manager; where there are settings, keeps or forgets
    them for the next start as the check box says. */
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
    /** Shows these lists instead. A selection stays on its device's name wherever its row moves;
        a selected device that left is selected again when its name comes back. */
    void followLists (const juce::StringArray& inputs, const juce::StringArray& outputs);

    const juce::StringArray& getInputNames() const noexcept { return inputNames; }
    const juce::StringArray& getOutputNames() const noexcept { return outputNames; }

private:
    static void selectMatchingRows (const juce::StringArray& names, const juce::String& current,
                                    const std::function<void (int)>& selectRow);
    static juce::String nameAt (const juce::StringArray& names, int row);
    /** The name a list's selection stands for: its row's, or one that left the list meanwhile. */
    static juce::String wantedName (const juce::StringArray& names, int row,
                                    const juce::String& wantedBefore);
    void showNotConnected();
    void rememberOrForget (const DeviceSettings::Devices& chosen);

    DeviceManagerComponent* component;
    juce::StringArray inputNames;
    juce::StringArray outputNames;
    juce::String wantedInput;
    juce::String wantedOutput;
    DeviceSettings::Devices remembered;
    MidiManager* midiManager;
    DeviceSettings* settings;
};
