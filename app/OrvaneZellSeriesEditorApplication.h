#pragma once

#include "app/LaunchOptions.h"
#include "app/MainMenuModel.h"
#include "app/RecoveryStore.h"
#include "app/WindowManager.h"
#include "midi/DeviceListPoller.h"
#include "midi/DeviceSettings.h"
#include "midi/MidiManager.h"
#include "midi/PresetSender.h"
#include "platform/InstanceHandOver.h"

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

/** The application object: owns the MIDI manager, the commands, the menu bar and the windows
    for the whole run, and carries out the application's commands. */
class OrvaneZellSeriesEditorApplication final : public juce::JUCEApplication, private juce::AsyncUpdater
{
public:
    OrvaneZellSeriesEditorApplication();
    ~OrvaneZellSeriesEditorApplication() override;

    const juce::String getApplicationName() override { return "Orvane Zell Series Editor"; }
    const juce::String getApplicationVersion() override { return JUCE_APPLICATION_VERSION_STRING; }
    bool moreThanOneInstanceAllowed() override;
    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;
    /** Opens a launch's file, named exactly (relative names against the working folder), or
        brings the editor forward for an empty argument or one beginning with "-". */
    void openLaunchArgument (const juce::String& argument);
    void systemRequestedQuit() override;

    void getAllCommands (juce::Array<juce::CommandID>& commands) override;
    void getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result) override;
    bool perform (const InvocationInfo& info) override;

    void openDocumentWithChooser();
    /** Offers what editors that ended without saving left, once the first window is up. */
    void offerRecovery();
    /** Writes every pending recovery entry now. */
    void keepUnsavedWork();
    void openUserGuide();
    /** The user's own copy of the guide, under the home folder. */
    static juce::File getUserGuideFile();
    /** The guide installed with the program, found relative to the program's own folder. */
    static juce::File getInstalledUserGuide();
    /** The guide beside the program in its build folder, where it runs before it is installed. */
    static juce::File getBuiltUserGuide();
    /** Where Help looks, in order; it opens the first guide that exists. */
    static juce::Array<juce::File> getUserGuidePlaces();

    /** Replaces the system's viewer that Help opens the guide with; for tests. */
    void setGuideOpener (std::function<bool (const juce::File&)> opener) { guideOpener = std::move (opener); }

    /** Replaces the framework's quit once every document has closed; for hosts that run the
        application inside their own message loop, such as tests. */
    void setQuitAction (std::function<void()> action) { quitAction = std::move (action); }

    /** Replaces this process's own arguments for initialise; for hosts that are not started from
        the editor's command line, such as tests. */
    void setLaunchArguments (std::vector<std::string> arguments) { launchArguments = std::move (arguments); }

private:
    // What tests read of the parts the application owns.
    friend struct ApplicationProbe;

    bool handOverToRunningInstance (const LaunchOptions& options);
    bool openWithSystemViewer (const juce::File& guide);
    void handleAsyncUpdate() override;
    /** The open documents as the Window menu lists them, oldest first. */
    std::vector<MainMenuModel::OpenDocument> openDocumentsForMenu() const;
    /** Turns an option on or off, in the sender and in the settings file. */
    void setSendOption (DeviceSettings::Option option, bool on);
    /** Starts following the device lists, where they can be read. */
    void followDevices();

    juce::PopupMenu extraAppleMenuItems;
    MidiManager midiManager;
    std::unique_ptr<MainMenuModel> menuModel;
    std::unique_ptr<WindowManager> windowManager;
    std::unique_ptr<juce::ApplicationCommandManager> commandManager;
    juce::File lastDirectory;
    std::unique_ptr<InstanceHandOver> handOver;
    // Declared before the window manager's use ends: shutdown deletes the windows first, then
    // writes what is pending.
    std::unique_ptr<RecoveryStore> recovery;
    std::unique_ptr<DeviceSettings> deviceSettings;
    // Every document sends through it; it outlives the window manager's documents.
    std::unique_ptr<PresetSender> presetSender;
    // Reads the device lists off the message thread; it goes first at shutdown.
    std::unique_ptr<DeviceListPoller> devicePoller;
    std::function<void()> quitAction;
    std::function<bool (const juce::File&)> guideOpener;
    std::unique_ptr<juce::ChildProcess> guideViewer;
    // The Open chooser runs a message loop; quitting inside it would return into a shut-down editor.
    int choosersOpen = 0;
    std::optional<std::vector<std::string>> launchArguments;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvaneZellSeriesEditorApplication)
};
