#include "app/WindowManager.h"

#include "app/WindowFit.h"
#include "editor/Artwork.h"
#include "library/PresetLibrary.h"
#include "midi/PresetSender.h"
#include "platform/gui/WindowOrigin.h"
#include "preset/Dialogs.h"

#include <algorithm>
#include <cmath>

WindowManager::WindowManager (MidiManager* manager, juce::ApplicationCommandManager* commands,
                              juce::File* sharedLastDirectory)
    : lastDirectory (sharedLastDirectory), midiManager (manager), commandManager (commands)
{
    if (midiManager != nullptr)
        midiManager->addConnectionListener (this);
}

WindowManager::~WindowManager()
{
    if (midiManager != nullptr)
        midiManager->removeConnectionListener (this);
    // The questions were asked before quitting; whatever is left goes without one.
    delete findControllerWindow.get();
    delete deviceSetupWindow.get();
    delete aboutWindow.get();
    delete monitorWindow.get();
    delete libraryWindow.get();

    while (!documents.isEmpty())
        documents.removeLast();
}

void WindowManager::setMenuBarModel (juce::MenuBarModel* model)
{
    menuBarModel = model;

    for (auto* document : documents)
        document->showMenuBar (model);
}

bool WindowManager::canOpenAnotherDocument() const
{
    return documents.size() < maxDocuments;
}

EditorDocument* WindowManager::createDocument (const juce::File& notOpened)
{
    if (!canOpenAnotherDocument())
    {
        refuseDocument (notOpened);
        return nullptr;
    }

    ++untitledCounter;
    auto* document =
        documents.add (createEditorDocument (*midiManager, "Untitled " + juce::String (untitledCounter),
                                             lastDirectory, presetSender)
                           .release());

    commandManager->registerAllCommandsForTarget (document);
    document->addWindowCloseListener (this);
    document->onChanged = [this, document] { keepForRecovery (*document); };
    document->onFilesDropped = [this, document] (const juce::StringArray& files)
    { openDroppedFiles (document, files); };
    document->addKeyListener (commandManager->getKeyMappings());

    if (menuBarModel != nullptr)
        document->showMenuBar (menuBarModel);
    if (auto* line = document->getConnectionLine())
        line->getFindButton().onClick = [this] { showFindController(); };
    showConnection (*document);

    return document;
}

void WindowManager::showConnection (EditorDocument& document)
{
    if (auto* line = document.getConnectionLine(); line != nullptr && midiManager != nullptr)
        line->setConnection (midiManager->describeConnection());
}

void WindowManager::connectionChanged()
{
    for (auto* document : documents)
        showConnection (*document);
}

bool WindowManager::needsDeviceLists() const
{
    return (midiManager != nullptr && (midiManager->isInputOpen() || midiManager->isOutputOpen() ||
                                       midiManager->isChosenDeviceMissing())) ||
           deviceSetupWindow != nullptr || findControllerWindow != nullptr;
}

void WindowManager::followDeviceLists (const DeviceListPoller::Lists& lists)
{
    if (midiManager != nullptr)
        midiManager->followDeviceLists (lists.inputs, lists.outputs);
    if (deviceSetupWindow != nullptr)
        deviceSetupWindow->followLists (lists.inputs, lists.outputs);
}

void WindowManager::refuseDocument (const juce::File& notOpened)
{
    // One alert at a time: a crowd of launches must not stack an alert each, which left the
    // editor spinning among them. Files refused while it shows are counted in its text.
    const juce::String title ("Maxiumum Number of Open Documents Reached");
    auto& dialogs = Dialogs::get();
    if (!dialogs.isAlertShowing (title))
    {
        limitMessage = "You may only have " + juce::String (maxDocuments) + " documents open.";
        if (notOpened != juce::File())
            limitMessage << "\r\n\"" << notOpened.getFullPathName() << "\" was not opened.";
        refusedWhileShown = 0;
        dialogs.showOrUpdateAlert (title, limitMessage);
        return;
    }
    if (notOpened == juce::File())
        return;
    ++refusedWhileShown;
    dialogs.showOrUpdateAlert (title, limitMessage + "\r\n" + juce::String (refusedWhileShown) +
                                          (refusedWhileShown == 1 ? " more file was" : " more files were") +
                                          " not opened.");
}

namespace
{
/** Until a window of ours has its frame, one that is larger than the usual title bar and border. */
const juce::BorderSize<int> assumedFrame (32, 4, 4, 4);

const juce::Displays::Display* displayForNewWindows()
{
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay();
}

/** Moves a small window that is centred on the screen inside the user area, should it stick out. */
void keepInsideUserArea (juce::Component& window)
{
    if (const auto* display = displayForNewWindows())
        window.setBounds (window.getBounds().constrainedWithin (display->userArea));
}
} // namespace

juce::BorderSize<int> WindowManager::knownFrame() const
{
    // The window manager frames every document alike; a frame in the display's pixels.
    for (auto* document : documents)
        if (auto* peer = document->getPeer())
            if (const auto frame = peer->getFrameSizeIfPresent())
                return frame->multipliedBy (peer->getPlatformScaleFactor());

    return assumedFrame;
}

void WindowManager::placeWindow (EditorDocument* document)
{
    if (const auto* display = displayForNewWindows())
    {
        const auto& displays = juce::Desktop::getInstance().getDisplays();
        // Later windows cascade by the number of documents ever created, not by the number open.
        const auto placement =
            WindowFit::fit (displays.logicalToPhysical (display->userArea, display), display->scale,
                            knownFrame(), {document->getWidth(), document->getHeight()}, untitledCounter - 1);
        document->setZoom (placement.zoomPercent);
        // The window's position is in its own zoomed units; rounded up so that it stays inside.
        // Before the window has a frame, the window system takes it as the frame's position.
        const auto zoom = document->getDesktopScaleFactor();
        document->setTopLeftPosition (
            static_cast<int> (std::ceil (static_cast<float> (placement.topLeft.x) / zoom)),
            static_cast<int> (std::ceil (static_cast<float> (placement.topLeft.y) / zoom)));
    }

    document->addToDesktop (document->getDesktopWindowStyleFlags());
    if (!WindowOrigin::isFrameCorner())
        if (auto* peer = document->getPeer())
            if (const auto frame = peer->getFrameSizeIfPresent())
            {
                // The frame is in the display's logical pixels, the position in the window's zoomed ones.
                const auto zoom = document->getDesktopScaleFactor();
                const auto inZoomed = [zoom] (int length)
                { return static_cast<int> (std::ceil (static_cast<float> (length) / zoom)); };
                document->setTopLeftPosition (
                    document->getPosition() +
                    juce::Point<int> (inZoomed (frame->getLeft()), inZoomed (frame->getTop())));
            }
    document->keepFixedSize();

    // The desktop's task list and window switcher show this next to the title. The window keeps
    // its own copy, so the decoded picture is not kept.
    if (auto* peer = document->getPeer())
        peer->setIcon (decodeArtwork ("window_icon"));

    document->toFront (true);
}

void WindowManager::newDocument()
{
    if (auto* document = createDocument())
        placeWindow (document);
}

bool WindowManager::closeDocument (EditorDocument* document)
{
    // A document whose chooser or question is open is returned into when that dialog ends, so it
    // stays until then; closing it again from inside its own save question is refused the same way.
    if (document == nullptr || document->isWaitingOnDialog())
        return false;

    Dialogs::SaveAnswer answer;
    {
        const EditorDocument::DialogScope waiting (*document);
        answer = Dialogs::get().askSaveQuestion ("Save Document",
                                                 "Would you like to save: " + document->getDocumentName());
    }

    // The question and the save chooser run modal loops; the document is checked again after them.
    if (answer == Dialogs::SaveAnswer::cancel || !documents.contains (document))
        return false;

    if (answer == Dialogs::SaveAnswer::yes && (!document->save() || !documents.contains (document)))
        return false;

    // Saved or given up by the user: only now is the copy kept for recovery no longer needed.
    if (recovery != nullptr)
        recovery->forget (document);
    removeDocument (document);
    return true;
}

void WindowManager::removeDocument (EditorDocument* document)
{
    document->removeKeyListener (commandManager->getKeyMappings());
    documents.removeObject (document);
    // The monitor goes on matching against a document that is still open, not against none.
    if (monitorWindow != nullptr && monitorWindow->getWatchedDocument() == nullptr && !documents.isEmpty())
        monitorWindow->watch (getActiveDocument() != nullptr ? getActiveDocument() : documents.getLast());
}

bool WindowManager::isWaitingOnDialog() const
{
    return std::any_of (documents.begin(), documents.end(),
                        [] (const EditorDocument* document) { return document->isWaitingOnDialog(); });
}

bool WindowManager::closeAllDocuments()
{
    // Refused before any question, so that a refused quit closes nothing.
    if (isWaitingOnDialog())
        return false;

    for (int i = documents.size(); --i >= 0;)
    {
        // A modal loop inside closeDocument may have changed the list.
        i = juce::jmin (i, documents.size() - 1);

        if (i < 0)
            break;

        if (!closeDocument (documents[i]))
            return false;
    }

    return true;
}

void WindowManager::windowCloseRequested (juce::Component* window)
{
    if (window == nullptr)
        return;

    if (window == deviceSetupWindow.get())
    {
        delete deviceSetupWindow.get();
        return;
    }

    if (auto* document = dynamic_cast<EditorDocument*> (window))
        closeByUser (document);
}

void WindowManager::closeByUser (EditorDocument* document)
{
    if (closeDocument (document) && documents.isEmpty() && onLastDocumentClosed != nullptr)
        onLastDocumentClosed();
}

EditorDocument* WindowManager::getActiveDocument() const
{
    for (auto* document : documents)
        if (document->isActiveWindow())
            return document;

    return nullptr;
}

void WindowManager::closeActiveDocument()
{
    if (auto* document = getActiveDocument())
        closeByUser (document);
}

void WindowManager::minimizeActiveDocument()
{
    if (auto* document = getActiveDocument())
        document->setMinimised (true);
}

void WindowManager::bringAllToFront()
{
    for (auto* document : documents)
    {
        document->setMinimised (false);
        document->toFront (true);
    }
}

EditorDocument* WindowManager::findDocumentShowing (const juce::File& file) const
{
    for (auto* document : documents)
        if (document->getFile() == file)
            return document;
    return nullptr;
}

void WindowManager::openFile (const juce::File& file)
{
    openInNewDocument (file, {});
}

void WindowManager::openInNewDocument (const juce::File& file, const juce::File& notOpened)
{
    if (auto* showing = findDocumentShowing (file))
    {
        showing->toFront (true);
        return;
    }

    if (auto* document = createDocument (notOpened))
    {
        document->loadFile (file);
        placeWindow (document);
    }
}

void WindowManager::openFileInActiveDocument (const juce::File& file)
{
    // With another program in front (a file manager), the newest document stands for the
    // editor: a double-click there still leaves one window when that document is untouched.
    auto* target = getActiveDocument();
    if (target == nullptr)
        target = documents.getLast();

    openHandedOver (target, file);
}

void WindowManager::openHandedOver (EditorDocument* target, const juce::File& file)
{
    if (target != nullptr && findDocumentShowing (file) == nullptr && target->isUntouched())
    {
        target->loadFile (file);
        target->toFront (true);
        return;
    }

    openInNewDocument (file, file);
}

void WindowManager::openDroppedFiles (EditorDocument* droppedOn, const juce::StringArray& files)
{
    // A file that opened into the window dropped on leaves it touched, so the next goes elsewhere.
    for (const auto& path : files)
        openHandedOver (documents.contains (droppedOn) ? droppedOn : nullptr, juce::File (path));
}

bool WindowManager::openRecovered (const RecoveryStore::Preset& preset)
{
    // One window per file: where the file is open already (this start named it), the recovered
    // preset goes into that document as a step, and undo gives back what the file holds.
    if (auto* showing = preset.file != juce::File() ? findDocumentShowing (preset.file) : nullptr)
    {
        auto* controller = showing->getController();
        if (controller == nullptr || !controller->loadPresetData (preset.image))
            return false;
        controller->markChanged();
        showing->toFront (true);
        return true;
    }

    auto* document =
        documents.size() == 1 && documents.getFirst()->isUntouched() ? documents.getFirst() : nullptr;
    if (document == nullptr)
    {
        if (!canOpenAnotherDocument())
            return false;
        document = createDocument();
        placeWindow (document);
    }

    auto* controller = document->getController();
    if (controller == nullptr || !controller->loadPresetData (preset.image))
        return false;
    // The recovered preset is where undo starts; it is the user's work, never untouched.
    controller->clearUndoHistory();
    // An untitled preset takes this document's own "Untitled" number.
    if (preset.file != juce::File())
        document->adoptOrigin (preset.file, preset.name);
    controller->markChanged();
    return true;
}

void WindowManager::keepForRecovery (EditorDocument& document)
{
    if (recovery == nullptr || document.isUntouched() || document.getController() == nullptr)
        return;
    recovery->keep (&document, {document.getDocumentName(), document.getFile(),
                                document.getController()->getPresetData()});
}

void WindowManager::showAbout()
{
    if (aboutWindow == nullptr)
    {
        aboutWindow = new AboutWindow();
        keepInsideUserArea (*aboutWindow);
    }

    aboutWindow->toFront (true);
}

void WindowManager::showDeviceSetup()
{
    if (deviceSetupWindow == nullptr)
    {
        deviceSetupWindow = new DeviceManagerWindow (*midiManager, deviceSettings);
        deviceSetupWindow->onFindController = [this] { showFindController(); };
        keepInsideUserArea (*deviceSetupWindow);
    }

    for (auto* document : documents)
        document->toBehind (deviceSetupWindow.get());

    deviceSetupWindow->toFront (true);
}

void WindowManager::showFindController()
{
    if (findControllerWindow == nullptr)
    {
        findControllerWindow = new FindControllerWindow (*midiManager);
        keepInsideUserArea (*findControllerWindow);
        auto& content = findControllerWindow->getComponent();
        content.getFinder().isTransferRunning = [this]
        {
            // A dump waiting to go out counts as a send running.
            if (presetSender != nullptr && presetSender->isWaiting())
                return true;
            for (auto* document : documents)
                if (auto* controller = document->getController();
                    controller != nullptr && controller->isAwaitingReply())
                    return true;
            return false;
        };
        content.onChosen = [this] (const ControllerFinder::Pair& pair) { openFoundController (pair); };
        content.start();
    }
    findControllerWindow->toFront (true);
}

void WindowManager::openFoundController (const ControllerFinder::Pair& pair)
{
    if (deviceSetupWindow != nullptr)
    {
        deviceSetupWindow->choose (pair.input, pair.output);
        return;
    }
    midiManager->setOutputDevice (pair.output);
    midiManager->setInputDevice (pair.input);
    if (deviceSettings != nullptr && deviceSettings->isRemembering())
        deviceSettings->remember ({pair.input, pair.output});
}

void WindowManager::showMonitor()
{
    if (monitorWindow == nullptr)
    {
        auto* watched = getActiveDocument();
        monitorWindow = new MonitorWindow (*midiManager, watched != nullptr ? watched : documents.getLast());
        // The application's keys (Ctrl+L among them) work here as in a document.
        monitorWindow->addKeyListener (commandManager->getKeyMappings());
        monitorWindow->setVisible (true);
        keepInsideUserArea (*monitorWindow);
    }

    monitorWindow->toFront (true);
    monitorWindow->focusInside();
}

juce::File WindowManager::libraryFolder() const
{
    const auto standard = PresetLibrary::defaultFolder();
    return deviceSettings != nullptr ? deviceSettings->libraryFolder (standard) : standard;
}

void WindowManager::showLibrary()
{
    if (libraryWindow == nullptr)
    {
        // Return opens a preset as a dropped file does: into the newest document while it is
        // untouched, else into a new one within the limit.
        libraryWindow = new LibraryWindow (
            libraryFolder(),
            [this] (const juce::File& file)
            { openDroppedFiles (documents.getLast(), {file.getFullPathName()}); },
            presetSender);
        libraryWindow->addKeyListener (commandManager->getKeyMappings());
        libraryWindow->setVisible (true);
        keepInsideUserArea (*libraryWindow);
    }

    libraryWindow->toFront (true);
    libraryWindow->focusInside();
}
