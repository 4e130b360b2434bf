#include "app/LibraryWindow.h"

#include "library/PresetLibrary.h"

LibraryWindow::LibraryWindow (const juce::File& libraryFolder,
                              std::function<void (const juce::File&)> openPreset)
    : juce::DocumentWindow ("Library", juce::Colours::white, juce::DocumentWindow::closeButton, false),
      folder (libraryFolder)
{
    component.onOpen = std::move (openPreset);
    // Posted, so that the window is not deleted inside the key handling that asked for it.
    component.onCloseRequested = [this] { closeButtonPressed(); };
    reload();

    setUsingNativeTitleBar (true);
    setResizable (false, false);
    setContentNonOwned (&component, true);
    centreWithSize (getWidth(), getHeight());
    // Put on the desktop once, at its final size and place, as the MIDI Monitor is.
    addToDesktop();
}

LibraryWindow::~LibraryWindow()
{
    clearContentComponent();
}

void LibraryWindow::reload()
{
    const PresetLibrary library (folder);
    // The folder is made on first use, so that the user finds where presets go.
    const auto made = library.makeFolder();
    component.setPresets (library.read());
    if (made.failed())
        component.showMessage (made.getErrorMessage());
}

void LibraryWindow::focusInside()
{
    if (!component.hasKeyboardFocus (true))
        component.getSearchField().grabKeyboardFocus();
}

void LibraryWindow::activeWindowStatusChanged()
{
    juce::DocumentWindow::activeWindowStatusChanged();
    if (isActiveWindow())
        focusInside();
}

void LibraryWindow::focusGained (FocusChangeType)
{
    // A late notice from the window system gives the keys to the window itself, where no key is
    // handled; they go back inside, but only while this window has them.
    if (auto* peer = getPeer(); peer != nullptr && peer->isFocused())
        focusInside();
}

void LibraryWindow::closeButtonPressed()
{
    juce::Component::SafePointer<LibraryWindow> self (this);
    juce::MessageManager::callAsync (
        [self]
        {
            if (self != nullptr)
                delete self.getComponent();
        });
}
