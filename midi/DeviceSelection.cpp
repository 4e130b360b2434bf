#include "midi/DeviceSelection.h"

DeviceSelection::DeviceSelection (MidiManager& manager, DeviceManagerComponent& deviceComponent,
                                  DeviceSettings* deviceSettings)
    : component (&deviceComponent), midiManager (&manager), settings (deviceSettings)
{
    // Read here once; later lists come from the poller, off the message thread.
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
        // Read once: the lists change far more often than the file, written through this window while
        // it is open.
        remembered = settings->load();
    }
    showNotConnected();
}

void DeviceSelection::showNotConnected()
{
    if (settings == nullptr)
        return;
    // Room for a line per remembered device, listed or not (each is absent from empty lists): one
    // that comes and goes while the window is open then costs a repaint, not a resize.
    component->setNotConnectedRoom (DeviceSettings::absentDevices (remembered, {}, {}).size());
    component->setNotConnected (DeviceSettings::absentDevices (remembered, inputNames, outputNames));
}

juce::String DeviceSelection::wantedName (const juce::StringArray& names, int row,
                                          const juce::String& wantedBefore)
{
    if (juce::isPositiveAndBelow (row, names.size()))
        return names[row];
    // Nothing selected: a name that left the list is still wanted; one still listed was deselected.
    return names.contains (wantedBefore) ? juce::String() : wantedBefore;
}

void DeviceSelection::followLists (const juce::StringArray& inputs, const juce::StringArray& outputs)
{
    if (inputs == inputNames && outputs == outputNames)
        return;
    wantedInput = wantedName (inputNames, component->getSelectedInputRow(), wantedInput);
    wantedOutput = wantedName (outputNames, component->getSelectedOutputRow(), wantedOutput);
    inputNames = inputs;
    outputNames = outputs;
    component->setDevices (inputNames, outputNames);
    select (wantedInput, wantedOutput);
    showNotConnected();
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
        remembered = {};
        showNotConnected();
        return;
    }

    // A remembered device that is unplugged now has no row to select: it stays remembered until
    // another device is chosen in its place.
    const auto absent = component->getNotConnected();
    const auto before = settings->load();
    remembered = {chosen.input.isEmpty() && absent.contains (before.input) ? before.input : chosen.input,
                  chosen.output.isEmpty() && absent.contains (before.output) ? before.output : chosen.output};
    settings->remember (remembered);
    showNotConnected();
}
