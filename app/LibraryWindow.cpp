#include "app/LibraryWindow.h"

#include "library/LibraryFiles.h"
#include "library/PresetLibrary.h"
#include "platform/Trash.h"

LibraryWindow::LibraryWindow (const juce::File& libraryFolder,
                              std::function<void (const juce::File&)> openPreset, PresetSender* presetSender)
    : juce::DocumentWindow ("Library", juce::Colours::white, juce::DocumentWindow::closeButton, false),
      folder (libraryFolder), sender (presetSender)
{
    component.getSendOnSelect().setEnabled (sender != nullptr);
    component.onSendSelected = [this] (const LibraryPreset& preset)
    {
        // Paced as live sending is: a held key sends only the newest preset it reached.
        sending = preset.path();
        if (!sender->select (preset.image, *this))
            component.showMessage ("Not sent: no MIDI output is open (Options > Device Setup)");
    };
    component.onOpen = std::move (openPreset);
    // Posted, so that the window is not deleted inside the key handling that asked for it.
    component.onCloseRequested = [this] { closeButtonPressed(); };
    component.onRename = [this] (const LibraryPreset& preset, const juce::String& newName)
    {
        juce::File renamed;
        const auto result = LibraryFiles::rename (preset.file, newName, renamed);
        showChange (result, result.wasOk() ? renamed : preset.file,
                    "Renamed \"" + preset.name + "\" to \"" + renamed.getFileNameWithoutExtension() + "\"");
    };
    component.onDuplicate = [this] (const LibraryPreset& preset)
    {
        juce::File written;
        const auto result = LibraryFiles::duplicate (preset.file, written);
        showChange (result, result.wasOk() ? written : preset.file,
                    "Duplicated as \"" + written.getFileNameWithoutExtension() + "\"");
    };
    component.onMoveToTrash = [this] (const LibraryPreset& preset)
    {
        showChange (Trash::moveToTrash (preset.file), preset.file,
                    "Moved \"" + preset.path() + "\" to the trash");
    };
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
    if (sender != nullptr)
        sender->forget (*this);
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

void LibraryWindow::showChange (const juce::Result& result, const juce::File& file, const juce::String& done)
{
    const auto row = component.getList().getSelectedRow();
    reload();
    component.reselect (row, file);
    component.showMessage (result.wasOk() ? done : result.getErrorMessage());
}

void LibraryWindow::presetSent (const juce::String& outputName)
{
    component.showMessage ("Sent \"" + sending + "\" to " + outputName);
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
