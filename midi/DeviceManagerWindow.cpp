#include "midi/DeviceManagerWindow.h"

DeviceManagerWindow::DeviceManagerWindow (MidiManager& midiManager, DeviceSettings* settings)
    : juce::ResizableWindow ("Orvane Brindle Editor Device Setup", false),
      component (this, &inputModel, &outputModel), selection (midiManager, component, settings)
{
    setUsingNativeTitleBar (true);
    setResizable (false, false);
    setContentNonOwned (&component, true);
    centreWithSize (component.getWidth(), component.getHeight());
    // On the desktop once, at its final size and place, so that no earlier size can reach the
    // window manager after it.
    addToDesktop();
    setAlwaysOnTop (false);
    toFront (true);
    setVisible (true);
}

DeviceManagerWindow::~DeviceManagerWindow()
{
    clearContentComponent();
}

void DeviceManagerWindow::actionListenerCallback (const juce::String& message)
{
    if (message == "UpdateMIDIDevices")
        selection.applySelection();
    else if (message == "FindController" && onFindController != nullptr)
        onFindController();
    else if (message == "Close")
        delete this;
}

void DeviceManagerWindow::choose (const juce::String& input, const juce::String& output)
{
    selection.select (input, output);
    selection.applySelection();
}

void DeviceManagerWindow::userTriedToCloseWindow()
{
    // Through the same posted message as "Cancel": the window is not deleted inside the
    // window system's own callback.
    component.sendActionMessage ("Close");
}

bool DeviceManagerWindow::keyPressed (const juce::KeyPress& key)
{
    return component.keyPressed (key);
}
