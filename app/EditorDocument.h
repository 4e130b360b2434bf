#pragma once

#include "app/DocumentComparison.h"
#include "app/DocumentKeys.h"
#include "app/FileDrop.h"
#include "app/WindowCloseListener.h"
#include "app/WindowZoom.h"
#include "editor/ConnectionLine.h"
#include "editor/CustomLook.h"
#include "editor/EditorComponent.h"
#include "preset/PresetController.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

/** One open preset in a window of its own: its name, its file, its controller and its views, the
    commands it offers, and the file choosers of its saves and loads.

    The document never closes itself: it reports the wish to its close listeners (the window
    manager), which ask the save question and delete it. Its zoom and size (WindowZoom), its keys
    and focus (DocumentKeys), files dropped on it (FileDrop) and its compare window
    (DocumentComparison) are classes of their own that it owns.
*/
class EditorDocument final : public juce::DocumentWindow,
                             public juce::ApplicationCommandTarget,
                             public juce::ActionListener,
                             public juce::FileDragAndDropTarget
{
public:
    /** Takes ownership of the views and the controller, neither of which may be null;
        lastDirectory is shared, not owned. */
    EditorDocument (std::unique_ptr<EditorComponent> content, std::unique_ptr<PresetController> controller,
                    const juce::String& documentName, juce::File* lastDirectory);
    ~EditorDocument() override;

    void addWindowCloseListener (WindowCloseListener* listener);

    const juce::File& getFile() const noexcept { return documentFile; }
    const juce::String& getDocumentName() const noexcept { return documentName; }
    PresetController* getController() const noexcept { return controller.get(); }
    EditorComponent* getEditor() const noexcept { return content.get(); }
    /** The main page's connection line; null without a main page. */
    ConnectionLine* getConnectionLine() const;

    /** Loads a "*.marlo" file or another program's ".syx"; on failure nothing changes here (the
        controller says why). */
    void loadFile (const juce::File& file);
    /** Shows the preset as belonging to this file and name, without writing it; a file that is
        not exactly a preset file makes the document foreign. */
    void adoptOrigin (const juce::File& file, const juce::String& name);
    /** The document's file is not exactly a preset file (a ".syx" another program wrote): Save
        never writes over it but asks for a "*.marlo" beside it. */
    bool isForeign() const noexcept { return documentForeign; }
    /** No file, and the user never changed the preset (no step, even an undone one; no get):
        replacing it loses nothing. */
    bool isUntouched() const;
    /** Called after every change of the preset, its file or its name. */
    std::function<void()> onChanged;
    /** False when nothing was written: the chooser was cancelled or the write failed. */
    bool save();
    bool saveAs();
    /** Whether a file was picked. */
    bool openWithChooser();
    /** Writes the dump message a send emits to a file the user picks, "<name>.syx" in the
        document's folder proposed; the document keeps its own file and title. False when nothing
        was written. */
    bool exportSysEx();

    /** The window of the last compare with the controller, while it is open. */
    CompareWindow* getCompareWindow() const noexcept { return comparison.getWindow(); }

    /** Preset files dropped on the window, in the order dropped, for the window manager to open
        as files handed over (it decides which document each goes to). */
    std::function<void (const juce::StringArray& files)> onFilesDropped;
    bool isInterestedInFileDrag (const juce::StringArray& files) override;
    void filesDropped (const juce::StringArray& files, int x, int y) override;
    void updateTitle();

    /** While a chooser or a question of this document is open (they run message loops of their
        own), the document must not be deleted: the dialog's caller returns into it. */
    bool isWaitingOnDialog() const noexcept { return dialogsOpen > 0; }

    /** Marks the document as waiting on a dialog for the scope's lifetime; also used by the
        window manager around the save question it asks for this document. */
    class DialogScope
    {
    public:
        explicit DialogScope (EditorDocument& d) : document (d) { ++document.dialogsOpen; }
        ~DialogScope() { --document.dialogsOpen; }

    private:
        EditorDocument& document;

        JUCE_DECLARE_NON_COPYABLE (DialogScope)
    };

    /** Shows a menu bar inside the window (where there is no system menu bar) and keeps the
        editor at its fixed size below it. The model is not owned. */
    void showMenuBar (juce::MenuBarModel* model);

    /** The zoom this window is drawn at, in percent (see WindowZoom). */
    int getZoom() const noexcept { return zoom.getZoom(); }
    void setZoom (int percent) { zoom.setZoom (percent); }
    bool canZoomTo (int percent) const { return zoom.canZoomTo (percent); }
    float getDesktopScaleFactor() const override { return zoom.getScaleFactor(); }
    void keepFixedSize() { zoom.keepFixedSize(); }

    void closeButtonPressed() override;
    void resized() override;
    void focusGained (FocusChangeType cause) override;
    /** F10 and Alt with a menu's letter open the window's menus. */
    bool keyPressed (const juce::KeyPress& key) override;
    void actionListenerCallback (const juce::String& message) override;
    juce::ApplicationCommandTarget* getNextCommandTarget() override;
    void getAllCommands (juce::Array<juce::CommandID>& commands) override;
    void getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result) override;
    bool perform (const InvocationInfo& info) override;

private:
    std::optional<juce::File> chooseSaveFile();
    /** Asks for a file to write, proposing the document's name with the extension, which a name
        typed without one gets; the chosen folder is remembered. */
    std::optional<juce::File> chooseFileToWrite (const juce::String& title, const juce::File& folder,
                                                 const juce::String& extension);
    void showSentNote (const juce::String& outputName);
    void takeOriginOfPreset();
    /** Where a zoom command goes from the present zoom. */
    int zoomTarget (juce::CommandID command) const;
    /** Whether a command can run now: undo and redo while there is a step to go to, a zoom while
        the window would fit the screen at its step; every other command always can. */
    bool isActive (juce::CommandID commandID) const;

    juce::File* lastDirectory;
    int dialogsOpen = 0;
    juce::String documentName;
    CustomLook look;
    juce::File documentFile;
    bool documentForeign = false;
    juce::ListenerList<WindowCloseListener> closeListeners;
    // The controller is declared before the views so that, even without the destructor's own
    // steps, the views are deleted before the controller they are bound to.
    std::unique_ptr<PresetController> controller;
    std::unique_ptr<EditorComponent> content;
    WindowZoom zoom{*this, *content};
    DocumentKeys keys{*this, *content};
    FileDrop drop{[this] (const juce::StringArray& files)
                  {
                      if (onFilesDropped != nullptr)
                          onFilesDropped (files);
                  }};
    DocumentComparison comparison;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EditorDocument)
};

/** Builds a document with a new controller on the MIDI manager and the editor views for it; its
    sends go through the application's sender (not owned), or one of its own when null. */
std::unique_ptr<EditorDocument> createEditorDocument (MidiManager& midiManager,
                                                      const juce::String& documentName,
                                                      juce::File* lastDirectory,
                                                      PresetSender* sender = nullptr);
