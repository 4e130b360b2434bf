#pragma once

#include "app/AboutWindow.h"
#include "app/EditorDocument.h"
#include "app/FindControllerWindow.h"
#include "app/LibraryWindow.h"
#include "app/MonitorWindow.h"
#include "app/RecoveryStore.h"
#include "app/WindowCloseListener.h"
#include "midi/DeviceListPoller.h"
#include "midi/DeviceManagerWindow.h"
#include "midi/MidiManager.h"
#include "platform/gui/KeptWindowImages.h"
#include "platform/gui/QueuedWindowEvents.h"

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>

/** Owns every window: up to five documents, one About window and one Device Setup window.
    Names and places new documents, asks the save question before a document closes and closes
    them all before the application quits.
*/
class WindowManager final : public WindowCloseListener, private MidiManager::ConnectionListener
{
public:
    static constexpr int maxDocuments = 5;

    /** None of the three is owned; they outlive the window manager. */
    WindowManager (MidiManager* midiManager, juce::ApplicationCommandManager* commandManager,
                   juce::File* lastDirectory);
    ~WindowManager() override;

    /** Where there is no system menu bar, every document shows this one (not owned). */
    void setMenuBarModel (juce::MenuBarModel* model);

    /** Called when the user closes the last open document (not when quitting closes it). */
    std::function<void()> onLastDocumentClosed;

    /** Every changed document is kept there until it closes after its save question (not owned;
        it outlives the window manager). */
    void setRecoveryStore (RecoveryStore* store) noexcept { recovery = store; }
    /** Where Device Setup remembers the devices to open at start (not owned; it outlives the
        window manager). Without it nothing is remembered. */
    void setDeviceSettings (DeviceSettings* settings) noexcept { deviceSettings = settings; }
    /** The sender every new document sends through; not owned. */
    void setPresetSender (PresetSender* sender) noexcept { presetSender = sender; }

    void newDocument();
    void openFile (const juce::File& file);
    /** A file handed over by another launch or the desktop: to the front if a document shows
        it, into the active document if that one holds nothing of the user's, else into a new
        document. Never replaces anybody's work. */
    void openFileInActiveDocument (const juce::File& file);
    /** Opens what an ended editor left, in the untouched start document or a new one; it shows
        its original name and file and writes nothing until saved. False at the document limit. */
    bool openRecovered (const RecoveryStore::Preset& preset);
    void closeActiveDocument();
    /** Newest first; false as soon as one document stays open. */
    bool closeAllDocuments();
    void minimizeActiveDocument();
    void bringAllToFront();
    void showAbout();
    void showDeviceSetup();
    /** Opens Find Controller, or raises the one that is open. The pair the user picks is opened as
        Device Setup's "OK" opens it: through Device Setup while that is open, else at once, and
        remembered when the devices are being remembered. */
    void showFindController();
    /** Opens the MIDI Monitor, watching the active document, or raises the one that is open. */
    void showMonitor();
    /** Whether the device lists must be followed: while a device is open or a chosen one is
        missing, or while Device Setup or Find Controller is open. */
    bool needsDeviceLists() const;
    /** The lists as the devices are now: the MIDI manager closes what left and opens what came
        back, and Device Setup shows them. */
    void followDeviceLists (const DeviceListPoller::Lists& lists);
    /** Opens the Library, reading its folder, or raises the one that is open. */
    void showLibrary();
    /** The remembered folder, else the default. */
    juce::File libraryFolder() const;
    bool canOpenAnotherDocument() const;
    /** Whether any document waits on one of its dialogs; a quit is refused meanwhile. */
    bool isWaitingOnDialog() const;

    void windowCloseRequested (juce::Component* window) override;

    int getNumDocuments() const noexcept { return documents.size(); }
    EditorDocument* getDocument (int index) const noexcept { return documents[index]; }
    /** The first document, in creation order, whose window is the active one; null if none. */
    EditorDocument* getActiveDocument() const;
    AboutWindow* getAboutWindow() const { return aboutWindow.get(); }
    DeviceManagerWindow* getDeviceSetupWindow() const { return deviceSetupWindow.get(); }
    MonitorWindow* getMonitorWindow() const { return monitorWindow.get(); }
    LibraryWindow* getLibraryWindow() const { return libraryWindow.get(); }
    FindControllerWindow* getFindControllerWindow() const { return findControllerWindow.get(); }

private:
    /** Null at the limit, after the alert; a handed-over file that was not opened is named. */
    EditorDocument* createDocument (const juce::File& notOpened = {});
    /** The limit's alert, or the file added to the one that shows. */
    void refuseDocument (const juce::File& notOpened);
    EditorDocument* findDocumentShowing (const juce::File& file) const;
    void openInNewDocument (const juce::File& file, const juce::File& notOpened);
    /** A handed-over file goes into `target` if that holds nothing of the user's, else into a
        document of its own. */
    void openHandedOver (EditorDocument* target, const juce::File& file);
    /** Each file as a handed-over one, the window dropped on standing for the active document. */
    void openDroppedFiles (EditorDocument* droppedOn, const juce::StringArray& files);
    void keepForRecovery (EditorDocument& document);
    /** Puts a new document on the screen at the zoom at which it fits, inside the user area. */
    void placeWindow (EditorDocument* document);
    /** The frame the window manager puts round a document, in the display's pixels. */
    juce::BorderSize<int> knownFrame() const;
    bool closeDocument (EditorDocument* document);
    void closeByUser (EditorDocument* document);
    void removeDocument (EditorDocument* document);
    void openFoundController (const ControllerFinder::Pair& pair);
    /** Every document's main page says what is connected now. */
    void connectionChanged() override;
    void showConnection (EditorDocument& document);

    juce::File* lastDirectory;
    int untitledCounter = 0;
    // Both windows delete themselves when closed; the references then read null.
    juce::WeakReference<DeviceManagerWindow> deviceSetupWindow;
    juce::WeakReference<AboutWindow> aboutWindow;
    juce::WeakReference<MonitorWindow> monitorWindow;
    juce::WeakReference<LibraryWindow> libraryWindow;
    juce::WeakReference<FindControllerWindow> findControllerWindow;
    juce::OwnedArray<EditorDocument> documents;
    MidiManager* midiManager;
    juce::ApplicationCommandManager* commandManager;
    juce::MenuBarModel* menuBarModel = nullptr;
    RecoveryStore* recovery = nullptr;
    DeviceSettings* deviceSettings = nullptr;
    PresetSender* presetSender = nullptr;
    juce::String limitMessage;
    int refusedWhileShown = 0;
    // Every window is drawn again at once where another uncovered it, and keeps its menus open
    // after a pause (two defects of the framework's X11 windows).
    QueuedWindowEvents queuedEvents;
    KeptWindowImages keptImages;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WindowManager)
};
