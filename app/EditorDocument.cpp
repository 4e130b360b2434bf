#include "app/EditorDocument.h"

#include "app/CommandIDs.h"
#include "app/WindowFit.h"
#include "editor/MainView.h"
#include "platform/AtomicFile.h"
#include "preset/Dialogs.h"
#include "preset/PresetFile.h"
#include "preset/PresetFileFlow.h"
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

MainView* mainViewOf (const EditorComponent& editor)
{
    // The pages are kept in no fixed order.
    for (auto* view : editor.getViews())
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
    jassert (controller != nullptr && content != nullptr);
    setLookAndFeel (&look);
    setUsingNativeTitleBar (true);
    setResizable (false, false);
    zoom.resize (
        [this]
        {
            setContentNonOwned (content.get(), true);
            centreWithSize (getWidth(), getHeight());
        });
    updateTitle();

    controller->loadPresetData (factoryPresetData());
    // The preset a document starts with is where undo stops, not a step.
    controller->clearUndoHistory();
    controller->addActionListener (this);
    controller->onBeforePresetIsRead = [this] { content->commitPendingEdits(); };
    controller->onOriginRestored = [this] { takeOriginOfPreset(); };
    controller->onChanged = [this]
    {
        if (onChanged != nullptr)
            onChanged();
    };
    controller->onCompared = [this] (const PresetModel& controllerPreset)
    { comparison.show (controller->getModel(), controllerPreset, documentName, getScreenBounds()); };
    controller->onSent = [this] (const juce::String& outputName) { showSentNote (outputName); };
    controller->onVerified = [this]
    {
        if (auto* mainView = mainViewOf (*content))
            mainView->getSentNote().markVerified();
    };
    // The document stays as it is: the window shows what differs from what was sent.
    controller->onVerifyFailed = [this] (const PresetModel& sent, const std::optional<PresetModel>& answer)
    {
        if (answer.has_value())
            comparison.show (sent, *answer, documentName, getScreenBounds());
        else
            comparison.showUnanswered (sent, documentName, getScreenBounds());
    };

    setVisible (true);
}

EditorDocument::~EditorDocument()
{
    // The controller must stop reaching its bindings before they are deleted with the views.
    controller->onBeforePresetIsRead = nullptr;
    controller->onOriginRestored = nullptr;
    controller->onChanged = nullptr;
    controller->onCompared = nullptr;
    controller->onSent = nullptr;
    controller->onVerified = nullptr;
    controller->onVerifyFailed = nullptr;
    controller->detach();

    comparison.closeWindow();

    setMenuBar (nullptr);
    clearContentComponent();
    content.reset();
    controller.reset();
    setLookAndFeel (nullptr);
}

void EditorDocument::addWindowCloseListener (WindowCloseListener* listener)
{
    if (listener != nullptr)
        closeListeners.add (listener);
}

void EditorDocument::loadFile (const juce::File& file)
{
    // A missing file goes to the controller too, which tells the user; nothing happening at all
    // would leave them guessing.
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
    return documentFile == juce::File() && !controller->hasEverChanged();
}

bool EditorDocument::save()
{
    if (documentFile.existsAsFile() && !documentForeign)
    {
        if (!controller->saveToFile (documentFile))
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
    if (!chosen.has_value() || !controller->saveToFile (*chosen))
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
    const auto folder = documentFile != juce::File() ? documentFile.getParentDirectory() : *lastDirectory;
    const auto chosen = chooseFileToWrite ("Select Filename to export", folder, sysExExtension);
    if (!chosen.has_value())
        return false;

    const auto message = controller->createDumpMessage();
    const auto written = AtomicFile::replaceContent (*chosen, message.getRawData(),
                                                     static_cast<size_t> (message.getRawDataSize()));
    if (written.failed())
        PresetFileFlow::showSaveFailedAlert (*chosen, written.getErrorMessage());
    return written.wasOk();
}

ConnectionLine* EditorDocument::getConnectionLine() const
{
    auto* mainView = mainViewOf (*content);
    return mainView != nullptr ? &mainView->getConnectionLine() : nullptr;
}

void EditorDocument::showSentNote (const juce::String& outputName)
{
    if (auto* mainView = mainViewOf (*content))
        mainView->getSentNote().showSendTo (outputName);
}

bool EditorDocument::isInterestedInFileDrag (const juce::StringArray& files)
{
    return drop.isInterestedIn (files);
}

void EditorDocument::filesDropped (const juce::StringArray& files, int, int)
{
    drop.dropped (files);
}

void EditorDocument::updateTitle()
{
    if (documentFile.existsAsFile())
        documentName = documentFile.getFileNameWithoutExtension();

    setName (titlePrefix + " - " + documentName);
    controller->setOrigin ({documentFile, documentName, documentForeign});
}

void EditorDocument::showMenuBar (juce::MenuBarModel* model)
{
    // The menu bar takes its height from the content area, so the editor's size is read before
    // and the window grown to keep the whole editor visible.
    const auto editorWidth = content->getWidth();
    const auto editorHeight = content->getHeight();
    zoom.resize (
        [&]
        {
            setMenuBar (model);
            setContentComponentSize (editorWidth, editorHeight);
        });
}

int EditorDocument::zoomTarget (juce::CommandID command) const
{
    if (command == CommandIDs::actualSize)
        return WindowFit::actualSize;
    return WindowFit::stepFrom (zoom.getZoom(), command == CommandIDs::zoomIn ? 1 : -1);
}

void EditorDocument::resized()
{
    juce::DocumentWindow::resized();
    zoom.windowResized();
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

void EditorDocument::closeButtonPressed()
{
    // Last added first. A listener may delete this document, list and all: the checker ends the
    // walk before anything of it is read again.
    const juce::Component::BailOutChecker checker (this);
    closeListeners.callChecked (checker, [this] (WindowCloseListener& listener)
                                { listener.windowCloseRequested (this); });
}

void EditorDocument::focusGained (FocusChangeType)
{
    keys.focusGained();
}

bool EditorDocument::keyPressed (const juce::KeyPress& key)
{
    return keys.keyPressed (key) || juce::DocumentWindow::keyPressed (key);
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
    DocumentKeys::addDefaultKeys (commandID, result);
    result.setActive (isActive (commandID));
}

bool EditorDocument::isActive (juce::CommandID commandID) const
{
    switch (commandID)
    {
        case CommandIDs::undo:
            return controller->canUndo();
        case CommandIDs::redo:
            return controller->canRedo();
        case CommandIDs::zoomIn:
        case CommandIDs::zoomOut:
        case CommandIDs::actualSize:
            // A step that would not fit the screen is greyed in the View menu, and its keys do nothing.
            return zoom.canZoomTo (zoomTarget (commandID));
        default:
            return true;
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
            controller->requestPreset();
            break;
        case CommandIDs::sendPreset:
            controller->sendPresetToHardware();
            break;
        case CommandIDs::exportSysEx:
            exportSysEx();
            break;
        case CommandIDs::compareWithController:
            controller->compareWithController();
            break;
        case CommandIDs::closeWindow:
            // May delete this document; nothing of it is touched afterwards.
            userTriedToCloseWindow();
            break;
        case CommandIDs::undo:
            controller->undo();
            break;
        case CommandIDs::redo:
            controller->redo();
            break;
        case CommandIDs::previousBank:
        case CommandIDs::nextBank:
            content->stepBank (info.commandID == CommandIDs::nextBank ? 1 : -1);
            break;
        case CommandIDs::zoomIn:
        case CommandIDs::zoomOut:
        case CommandIDs::actualSize:
            zoom.setZoom (zoomTarget (info.commandID));
            break;
        default:
            if (content->showPage (pageOf (info.commandID)))
                content->focusShownPage();
            break;
    }

    return true;
}

std::unique_ptr<EditorDocument> createEditorDocument (MidiManager& midiManager,
                                                      const juce::String& documentName,
                                                      juce::File* lastDirectory, PresetSender* sender)
{
    auto controller = createPresetController (midiManager, TransferTimer::createSystemTimer(), sender);
    auto editor = createEditorComponent (controller.get());
    return std::make_unique<EditorDocument> (std::move (editor), std::move (controller), documentName,
                                             lastDirectory);
}
