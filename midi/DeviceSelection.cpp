#include "midi/DeviceSelection.h"

DeviceSelection::DeviceSelection (MidiManager& manager, DeviceManagerComponent& deviceComponent,
                                  DeviceSettings* deviceSettings)
    : component (&deviceComponent), midiManager (&manager), settings (deviceSettings)
{
    // Read once: a device plugged in while the window is open shows in the next window.
    outputNames = midiManager->getPorts().getOutputNames();
    inputNames = midiManager->getPorts().getInputNames();

    for (const auto& name : inputNames)
        component->addInputDevice (name);

    for (const auto& name : outputNames)
        component->addOutputDevice (name);

    component->updateLists();

    select (midiManager->getInputDeviceName(), midiManager->getOutputDeviceName());

    if (settings != nullptr)
    {
        component->setRemembering (settings->isRemembering());
        component->setNotConnected (settings->absentDevices (midiManager->getPorts()));
    }
}

void DeviceSelection::selectMatchingRows (const juce::StringArray& names, const juce::String& current,
                                          const std::function<void (int)>& selectRow)
{
    for (int row = 0; row < names.size(); ++row)
        if (names[row] == current)
            selectRow (row);
}

void DeviceSelection::select (const juce::String& input, const juce::String& output)
{
    // Each selection deselects the others, so with duplicate names the last equal row stays.
    selectMatchingRows (inputNames, input, [this] (int row) { component->selectInputRow (row); });
    selectMatchingRows (outputNames, output, [this] (int row) { component->selectOutputRow (row); });
}

juce::String DeviceSelection::nameAt (const juce::StringArray& names, int row)
{
    return juce::isPositiveAndBelow (row, names.size()) ? names[row] : juce::String();
}

void DeviceSelection::applySelection()
{
    const auto inputName = nameAt (inputNames, component->getSelectedInputRow());
    const auto outputName = nameAt (outputNames, component->getSelectedOutputRow());
    midiManager->setOutputDevice (outputName);
    midiManager->setInputDevice (inputName);
    rememberOrForget ({inputName, outputName});
}

void DeviceSelection::rememberOrForget (const DeviceSettings::Devices& chosen)
{
    if (settings == nullptr)
        return;

    if (!component->isRemembering())
    {
        settings->forget();
        return;
    }

    // A remembered device that is unplugged now has no row to select: it stays remembered until
    // another device is chosen in its place.
    const auto absent = component->getNotConnected();
    const auto before = settings->load();
    settings->remember (
        {chosen.input.isEmpty() && absent.contains (before.input) ? before.input : chosen.input,
         chosen.output.isEmpty() && absent.contains (before.output) ? before.output : chosen.output});
}
