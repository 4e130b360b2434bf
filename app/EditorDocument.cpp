#include "app/EditorDocument.h"

#include "app/CommandIDs.h"
#include "app/MenuKeys.h"
#include "app/WindowFit.h"
#include "editor/Artwork.h"
#include "editor/MainView.h"
#include "platform/AtomicFile.h"
#include "platform/gui/FixedSizeHints.h"
#include "preset/Dialogs.h"
#include "preset/PresetDifference.h"
#include "preset/PresetFile.h"
#include "preset/PresetLayout.h"

#include <algorithm>
#include <array>

namespace
{
const juce::String titlePrefix ("Orvane Marlo Editor");
const juce::String fileExtension (".marlo");
const juce::String sysExExtension (".syx");

constexpr std::array<juce::CommandID, 19> documentCommands{
    CommandIDs::saveDocument, CommandIDs::saveDocumentAs, CommandIDs::getPreset,    CommandIDs::sendPreset,
    CommandIDs::closeWindow,  CommandIDs::undo,           CommandIDs::redo,         CommandIDs::showPage (0),
    CommandIDs::showPage (1), CommandIDs::showPage (2),   CommandIDs::showPage (3), CommandIDs::showPage (4),
    CommandIDs::showPage (5), CommandIDs::showPage (6),   CommandIDs::previousBank, CommandIDs::nextBank,
    CommandIDs::zoomIn,       CommandIDs::zoomOut,        CommandIDs::actualSize};

// The preset's exchange with other programs and with the controller, after the commands above.
constexpr std::array<juce::CommandID, 2> exchangeCommands{CommandIDs::exportSysEx,
                                                          CommandIDs::compareWithController};

/** The page a command opens, or -1. */
int pageOf (juce::CommandID id)
{
    for (int index = 0; index < CommandIDs::pageCount; ++index)
        if (id == CommandIDs::showPage (index))
            return index;
    return -1;
}

MainView* mainViewOf (const EditorComponent* editor)
{
    // The pages are kept in no fixed order.
    if (editor != nullptr)
        for (auto* view : editor->getViews())
            if (auto* mainView = dynamic_cast<MainView*> (view))
                return mainView;
    return nullptr;
}

bool isDocumentCommand (juce::CommandID id)
{
    return std::find (documentCommands.begin(), documentCommands.end(), id) != documentCommands.end() ||
           std::find (exchangeCommands.begin(), exchangeCommands.end(), id) != exchangeCommands.end();
}
} // namespace

EditorDocument::EditorDocument (std::unique_ptr<EditorComponent> contentToShow,
                                std::unique_ptr<PresetController> presetController, const juce::String& name,
                                juce::File* sharedLastDirectory)
    : juce::DocumentWindow ({}, juce::Colour (0xff999999), minimiseButton | closeButton, false),
      lastDirectory (sharedLastDirectory), documentName (name), controller (std::move (presetController)),
      content (std::move (contentToShow))
{
    setLookAndFeel (&look);
    setUsingNativeTitleBar (true);
    setResizable (false, false);
    setContentNonOwned (content.get(), true);
    centreWithSize (getWidth(), getHeight());
    fixedSize = {getWidth(), getHeight()};
    updateTitle();

    if (controller != nullptr)
    {
        controller->loadPresetData (factoryPresetData());
        // The preset a document starts with is where undo stops, not a step.
        controller->clearUndoHistory();
        controller->addActionListener (this);
        controller->onBeforePresetIsRead = [this]
        {
            if (content != nullptr)
                content->commitPendingEdits();
        };
        controller->onOriginRestored = [this] { takeOriginOfPreset(); };
        controller->onChanged = [this]
        {
            if (onChanged != nullptr)
                onChanged();
        };
        controller->onCompared = [this] (const PresetModel& controllerPreset)
        { showComparison (controllerPreset); };
        controller->onSent = [this] (const juce::String& outputName) { showSentNote (outputName); };
    }

    setVisible (true);
}

EditorDocument::~EditorDocument()
{
    // The controller must stop reaching its bindings before they are deleted with the views.
    if (controller != nullptr)
    {
        controller->onBeforePresetIsRead = nullptr;
        controller->onOriginRestored = nullptr;
        controller->onChanged = nullptr;
        controller->onCompared = nullptr;
        controller->onSent = nullptr;
        controller->detach();
    }

    compareWindow.reset();

    setMenuBar (nullptr);
    clearContentComponent();
    content.reset();
    controller.reset();
    setLookAndFeel (nullptr);
}

void EditorDocument::addWindowCloseListener (WindowCloseListener* listener)
{
    if (listener != nullptr)
        closeListeners.addIfNotAlreadyThere (listener);
}

void EditorDocument::loadFile (const juce::File& file)
{
    // A missing file goes to the controller too, which tells the user; nothing happening at all
    // would leave them guessing.
    if (controller == nullptr)
        return;

    if (controller->loadFromFile (file))
        takeOriginOfPreset();
}

void EditorDocument::takeOriginOfPreset()
{
    const auto& origin = controller->getOrigin();
    documentFile = origin.file;
    documentName = origin.name;
    documentForeign = origin.foreign;
    updateTitle();
}

void EditorDocument::adoptOrigin (const juce::File& file, const juce::String& name)
{
    documentFile = file;
    documentName = name;
    // A recovered preset whose file another program wrote must not be saved over it either, nor
    // one whose file cannot be read now to tell.
    documentForeign = PresetFile::mayBeForeign (file);
    updateTitle();
}

bool EditorDocument::isUntouched() const
{
    return documentFile == juce::File() && (controller == nullptr || !controller->hasEverChanged());
}

bool EditorDocument::save()
{
    if (documentFile.existsAsFile() && !documentForeign)
    {
        if (!writeTo (documentFile))
            return false;

        updateTitle();
        return true;
    }

    return saveAs();
}

bool EditorDocument::saveAs()
{
    const auto chosen = chooseSaveFile();

    // A failed write is not a save: the document keeps its file and its title.
    if (!chosen.has_value() || !writeTo (*chosen))
        return false;

    adoptOrigin (*chosen, chosen->getFileNameWithoutExtension());
    return true;
}

bool EditorDocument::openWithChooser()
{
    std::optional<juce::File> picked;
    {
        const DialogScope waiting (*this);
        picked = Dialogs::get().chooseFileToOpen ("Select Filename to open", *lastDirectory,
                                                  PresetFile::openPattern);
    }

    if (!picked.has_value())
        return false;

    loadFile (*picked);

    // Follows the file the document holds now, which is the picked one only if it loaded.
    // An untitled document has no folder of its own, so the shared folder stays as it was.
    if (documentFile != juce::File())
        *lastDirectory = documentFile.getParentDirectory();

    return true;
}

bool EditorDocument::exportSysEx()
{
    if (controller == nullptr)
        return false;

    const auto folder = documentFile != juce::File() ? documentFile.getParentDirectory() : *lastDirectory;
    const auto chosen = chooseFileToWrite ("Select Filename to export", folder, sysExExtension);
    if (!chosen.has_value())
        return false;

    const auto message = controller->createDumpMessage();
    const auto written = AtomicFile::replaceContent (*chosen, message.getRawData(),
                                                     static_cast<size_t> (message.getRawDataSize()));
    if (written.failed())
        PresetController::showSaveFailedAlert (*chosen, written.getErrorMessage());
    return written.wasOk();
}

void EditorDocument::showComparison (const PresetModel& controllerPreset)
{
    if (controller == nullptr)
        return;

    const auto rows = PresetDifference::between (controller->getModel(), controllerPreset);
    if (compareWindow == nullptr)
    {
        compareWindow = std::make_unique<CompareWindow> (documentName);
        // Deleted once the click or key that closed it has been handled by the window.
        compareWindow->onClose = [self = juce::Component::SafePointer<EditorDocument> (this)]
        {
            juce::MessageManager::callAsync (
                [self]
                {
                    if (self != nullptr)
                        self->compareWindow.reset();
                });
        };
        compareWindow->placeOver (getScreenBounds());
    }

    compareWindow->setName (CompareWindow::titleFor (documentName));
    compareWindow->showRows (rows);
}

void EditorDocument::showSentNote (const juce::String& outputName)
{
    if (auto* mainView = mainViewOf (content.get()))
        mainView->getSentNote().showSendTo (outputName);
}

bool EditorDocument::isDroppable (const juce::String& path)
{
    const auto extension = juce::File (path).getFileExtension();
    return extension.equalsIgnoreCase (fileExtension) || extension.equalsIgnoreCase (sysExExtension);
}

bool EditorDocument::isInterestedInFileDrag (const juce::StringArray& files)
{
    return std::any_of (files.begin(), files.end(), isDroppable);
}

void EditorDocument::filesDropped (const juce::StringArray& files, int, int)
{
    juce::StringArray presets;
    for (const auto& path : files)
        if (isDroppable (path))
            presets.add (path);

    if (!presets.isEmpty() && onFilesDropped != nullptr)
        onFilesDropped (presets);
}

void EditorDocument::updateTitle()
{
    if (documentFile.existsAsFile())
        documentName = documentFile.getFileNameWithoutExtension();

    setName (titlePrefix + " - " + documentName);

    if (controller != nullptr)
        controller->setOrigin ({documentFile, documentName, documentForeign});
}

void EditorDocument::showMenuBar (juce::MenuBarModel* model)
{
    // The menu bar takes its height from the content area, so the editor's size is read before
    // and the window grown to keep the whole editor visible.
    const auto editorWidth = content != nullptr ? content->getWidth() : 0;
    const auto editorHeight = content != nullptr ? content->getHeight() : 0;
    fixedSize = {};
    setMenuBar (model);

    if (content != nullptr)
        setContentComponentSize (editorWidth, editorHeight);

    fixedSize = {getWidth(), getHeight()};
    keepFixedSize();
}

float EditorDocument::getDesktopScaleFactor() const
{
    return juce::Desktop::getInstance().getGlobalScaleFactor() * static_cast<float> (zoomPercent) / 100.0f;
}

void EditorDocument::setZoom (int percent)
{
    if (percent == zoomPercent)
        return;

    // A desktop window's position is kept in its own scaled units, so the same spot on the
    // screen is another position at another zoom. The spot is kept from the first of a run of
    // zooms, so that rounding at each step does not move the window.
    if (getPosition() != zoomedPosition)
        zoomAnchor = getPosition().toFloat() * getDesktopScaleFactor();
    zoomPercent = percent;
    auto topLeft = zoomAnchor;
    // A larger window that would reach past the user area moves back into it; the spot is kept,
    // so that zooming out again puts the window back there.
    if (const auto* shownOn = displayOfWindow(); shownOn != nullptr && isOnDesktop())
    {
        const auto scale = getDesktopScaleFactor();
        const juce::Rectangle<float> shown (zoomAnchor.x, zoomAnchor.y,
                                            static_cast<float> (getWidth()) * scale,
                                            static_cast<float> (getHeight()) * scale);
        topLeft = WindowFit::keptInside (shownOn->userArea, frameOnScreen(), shown.toNearestInt()).toFloat();
    }
    const auto position = topLeft / getDesktopScaleFactor();
    zoomedPosition = {juce::roundToInt (position.x), juce::roundToInt (position.y)};
    setTopLeftPosition (zoomedPosition);

    if (auto* peer = getPeer())
        peer->updateBounds();

    const auto* display = juce::Desktop::getInstance().getDisplays().getDisplayForRect (getScreenBounds());
    const auto displayScale = display != nullptr ? static_cast<float> (display->scale) : artworkScale();

    if (content != nullptr)
        rescaleArtwork (*content, displayScale * static_cast<float> (zoomPercent) / 100.0f);

    keepFixedSize();
    repaint();
}

bool EditorDocument::canZoomTo (int percent) const
{
    if (percent == zoomPercent)
        return false;
    const auto* display = displayOfWindow();
    if (percent < zoomPercent || display == nullptr)
        return true;
    const auto& displays = juce::Desktop::getInstance().getDisplays();
    const auto physicalFrame = frameOnScreen().multipliedBy (display->scale);
    return WindowFit::fits (displays.logicalToPhysical (display->userArea, display), display->scale,
                            physicalFrame, {getWidth(), getHeight()}, percent);
}

int EditorDocument::zoomTarget (juce::CommandID command) const
{
    if (command == CommandIDs::actualSize)
        return WindowFit::actualSize;
    return WindowFit::stepFrom (zoomPercent, command == CommandIDs::zoomIn ? 1 : -1);
}

const juce::Displays::Display* EditorDocument::displayOfWindow() const
{
    return juce::Desktop::getInstance().getDisplays().getDisplayForRect (getScreenBounds());
}

juce::BorderSize<int> EditorDocument::frameOnScreen() const
{
    if (auto* peer = getPeer())
        if (const auto frame = peer->getFrameSizeIfPresent())
            return *frame;
    return {};
}

void EditorDocument::keepFixedSize()
{
    auto* peer = getPeer();

    if (peer == nullptr)
        return;

    const auto physical = juce::Desktop::getInstance().getDisplays().logicalToPhysical (peer->getBounds());
    FixedSizeHints::apply (peer->getNativeHandle(), physical.getWidth(), physical.getHeight());
}

void EditorDocument::resized()
{
    juce::DocumentWindow::resized();

    if (fixedSize.x <= 0 || (getWidth() == fixedSize.x && getHeight() == fixedSize.y))
        return;

    // Put back after the window manager's own handling of its request has ended.
    juce::MessageManager::callAsync (
        [self = juce::Component::SafePointer<EditorDocument> (this)]
        {
            if (self == nullptr)
                return;
            self->setSize (self->fixedSize.x, self->fixedSize.y);
            self->keepFixedSize();
        });
}

std::optional<juce::File> EditorDocument::chooseSaveFile()
{
    // A foreign file's preset is proposed as a "*.marlo" beside it, where the user last saw it.
    return chooseFileToWrite ("Select Filename to save",
                              documentForeign ? documentFile.getParentDirectory() : *lastDirectory,
                              fileExtension);
}

std::optional<juce::File> EditorDocument::chooseFileToWrite (const juce::String& title,
                                                             const juce::File& folder,
                                                             const juce::String& extension)
{
    std::optional<juce::File> chosen;
    {
        const DialogScope waiting (*this);
        chosen = Dialogs::get().chooseFileToSave (title, folder, documentName + extension, "*" + extension);
    }

    if (!chosen.has_value())
        return chosen;

    // A name typed without an extension would be a file the Open chooser never shows.
    if (chosen->getFileExtension().isEmpty())
        chosen = chosen->withFileExtension (extension);

    *lastDirectory = chosen->getParentDirectory();
    return chosen;
}

bool EditorDocument::writeTo (const juce::File& file)
{
    return controller != nullptr && controller->saveToFile (file);
}

void EditorDocument::closeButtonPressed()
{
    // A listener may delete this document, so after each call nothing of it is touched unless
    // it still exists.
    juce::Component::SafePointer<EditorDocument> self (this);

    for (int i = closeListeners.size(); --i >= 0;)
    {
        closeListeners.getUnchecked (i)->windowCloseRequested (this);

        if (self == nullptr)
            return;

        i = juce::jmin (i, closeListeners.size());
    }
}

void EditorDocument::focusGained (FocusChangeType)
{
    // The window itself takes the focus when it is new, or raised with nothing inside that had
    // it; the keys belong on the page from the first moment, as after a click. Only while the
    // window system still gives this window the keys: the news can arrive after a chooser or
    // another program took them, and moving the focus inside would take them back.
    auto* peer = getPeer();

    if (content != nullptr && peer != nullptr && peer->isFocused())
        content->focusShownPage();
}

bool EditorDocument::keyPressed (const juce::KeyPress& key)
{
    return MenuKeys::openMenuFor (key, dynamic_cast<juce::MenuBarComponent*> (getMenuBarComponent())) ||
           juce::DocumentWindow::keyPressed (key);
}

void EditorDocument::actionListenerCallback (const juce::String& message)
{
    if (message == "Open")
        openWithChooser();
    else if (message == "Save")
        save();
    else if (message == "Save As")
        saveAs();
}

juce::ApplicationCommandTarget* EditorDocument::getNextCommandTarget()
{
    return findFirstTargetParentComponent();
}

void EditorDocument::getAllCommands (juce::Array<juce::CommandID>& commands)
{
    for (auto id : documentCommands)
        commands.add (id);
    for (auto id : exchangeCommands)
        commands.add (id);
}

void EditorDocument::getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result)
{
    if (!isDocumentCommand (commandID))
        return;

    describeCommand (commandID, result);
    const auto command = juce::ModifierKeys::commandModifier;
    switch (commandID)
    {
        case CommandIDs::undo:
            result.setActive (controller != nullptr && controller->canUndo());
            break;
        case CommandIDs::redo:
            result.addDefaultKeypress ('z', command | juce::ModifierKeys::shiftModifier);
            result.addDefaultKeypress ('y', command);
            result.setActive (controller != nullptr && controller->canRedo());
            break;
        case CommandIDs::previousBank:
            result.addDefaultKeypress (juce::KeyPress::leftKey, command);
            break;
        case CommandIDs::nextBank:
            result.addDefaultKeypress (juce::KeyPress::rightKey, command);
            break;
        case CommandIDs::zoomIn:
            // Ctrl++ is typed with Shift on most layouts, and reads as either.
            result.addDefaultKeypress ('+', command);
            result.addDefaultKeypress ('+', command | juce::ModifierKeys::shiftModifier);
            result.addDefaultKeypress (juce::KeyPress::numberPadAdd, command);
            result.setActive (canZoomTo (zoomTarget (commandID)));
            break;
        case CommandIDs::zoomOut:
            result.addDefaultKeypress (juce::KeyPress::numberPadSubtract, command);
            result.setActive (canZoomTo (zoomTarget (commandID)));
            break;
        case CommandIDs::actualSize:
            // A step that would not fit the screen is greyed in the View menu, and its keys do nothing.
            result.setActive (canZoomTo (zoomTarget (commandID)));
            break;
        default:
            break;
    }
}

bool EditorDocument::perform (const InvocationInfo& info)
{
    switch (info.commandID)
    {
        case CommandIDs::saveDocument:
            save();
            break;
        case CommandIDs::saveDocumentAs:
            saveAs();
            break;
        case CommandIDs::getPreset:
            if (controller != nullptr)
                controller->requestPreset();
            break;
        case CommandIDs::sendPreset:
            if (controller != nullptr)
                controller->sendPresetToHardware();
            break;
        case CommandIDs::exportSysEx:
            exportSysEx();
            break;
        case CommandIDs::compareWithController:
            if (controller != nullptr)
                controller->compareWithController();
            break;
        case CommandIDs::closeWindow:
            // May delete this document; nothing of it is touched afterwards.
            userTriedToCloseWindow();
            break;
        case CommandIDs::undo:
            if (controller != nullptr)
                controller->undo();
            break;
        case CommandIDs::redo:
            if (controller != nullptr)
                controller->redo();
            break;
        case CommandIDs::previousBank:
        case CommandIDs::nextBank:
            if (content != nullptr)
                content->stepBank (info.commandID == CommandIDs::nextBank ? 1 : -1);
            break;
        case CommandIDs::zoomIn:
        case CommandIDs::zoomOut:
        case CommandIDs::actualSize:
            setZoom (zoomTarget (info.commandID));
            break;
        default:
            if (content != nullptr && content->showPage (pageOf (info.commandID)))
                content->focusShownPage();
            break;
    }

    return true;
}

std::unique_ptr<EditorDocument>
createEditorDocument (MidiManager& midiManager, const juce::String& documentName, juce::File* lastDirectory)
{
    auto controller = createPresetController (midiManager);
    auto editor = createEditorComponent (controller.get());
    return std::make_unique<EditorDocument> (std::move (editor), std::move (controller), documentName,
                                             lastDirectory);
}
