#include "app/OrvaneZellSeriesEditorApplication.h"

#include "app/CommandIDs.h"
#include "app/LaunchOptions.h"
#include "editor/Artwork.h"
#include "editor/SystemDialogs.h"
#include "midi/SimulatedMarlo.h"
#include "midi/SystemMidiPorts.h"
#include "platform/TerminationSignals.h"
#include "platform/UserFolders.h"
#include "platform/gui/FontFolders.h"
#include "platform/gui/SystemMenuBar.h"
#include "preset/Dialogs.h"
#include "preset/PresetFile.h"

#include <array>
#include <iostream>

namespace
{
constexpr std::array<juce::CommandID, 13> applicationCommands{
    CommandIDs::about,           CommandIDs::newWindow,      CommandIDs::open,
    CommandIDs::deviceSetup,     CommandIDs::closeWindow,    CommandIDs::minimize,
    CommandIDs::bringAllToFront, CommandIDs::openUserGuide,  CommandIDs::quit,
    CommandIDs::midiMonitor,     CommandIDs::findController, CommandIDs::plugSimulatedMarlo,
    CommandIDs::library};
// The options kept in the settings file, shown ticked while on.
constexpr std::array<juce::CommandID, 2> sendOptionCommands{CommandIDs::sendChangesToController,
                                                            CommandIDs::verifyAfterSending};

bool isApplicationCommand (juce::CommandID id)
{
    return std::find (applicationCommands.begin(), applicationCommands.end(), id) !=
               applicationCommands.end() ||
           std::find (sendOptionCommands.begin(), sendOptionCommands.end(), id) != sendOptionCommands.end();
}

} // namespace

OrvaneZellSeriesEditorApplication::OrvaneZellSeriesEditorApplication()
    : quitAction ([] { juce::JUCEApplicationBase::quit(); }),
      guideOpener ([this] (const juce::File& guide) { return openWithSystemViewer (guide); })
{
    SystemDialogs::install();
}

OrvaneZellSeriesEditorApplication::~OrvaneZellSeriesEditorApplication()
{
    // Normally shutdown has done this; the menu model must not outlive the manager it watches.
    windowManager.reset();
    menuModel.reset();
}

bool OrvaneZellSeriesEditorApplication::moreThanOneInstanceAllowed()
{
    // Where InstanceHandOver does the job, the framework's own must not quit a second launch
    // before initialise.
    return InstanceHandOver::replacesFrameworkHandOver();
}

bool OrvaneZellSeriesEditorApplication::handOverToRunningInstance (const LaunchOptions& options)
{
    if (!InstanceHandOver::replacesFrameworkHandOver())
        return false;

    handOver = std::make_unique<InstanceHandOver>();
    const auto role = handOver->start (
        options.forHandOver (juce::File::getCurrentWorkingDirectory()),
        [this] (const juce::String& argument) { openLaunchArgument (argument); },
        [] (std::function<void()> call) { juce::MessageManager::callAsync (std::move (call)); });

    if (role == InstanceHandOver::Role::handedOver)
    {
        handOver.reset();
        return true;
    }
    return false;
}

void OrvaneZellSeriesEditorApplication::initialise (const juce::String&)
{
    // The framework's joined command line cannot tell a name's own quotes from its own.
    const LaunchOptions options (launchArguments.value_or (LaunchOptions::argumentsOfThisProcess()));

    for (const auto& problem : options.getProblems())
        std::cerr << problem << std::endl;

    if (handOverToRunningInstance (options))
    {
        juce::JUCEApplicationBase::quit();
        return;
    }

    recovery = std::make_unique<RecoveryStore> (RecoveryStore::defaultFolder(),
                                                InstanceHandOver::defaultInstanceName());
    // The framework turns SIGINT into a quit, whose shutdown writes what is pending; these two
    // would end the editor at once.
    TerminationSignals::install (
        []
        {
            // The entries are written on the message thread; one that does not answer within a
            // couple of seconds (it is stuck) is not waited for.
            auto written = std::make_shared<juce::WaitableEvent>();
            juce::MessageManager::callAsync (
                [written]
                {
                    if (auto* application = dynamic_cast<OrvaneZellSeriesEditorApplication*> (getInstance()))
                        application->keepUnsavedWork();
                    written->signal();
                });
            written->wait (2000);
        });

    // Before any window or look lays out text: the framework makes its font list once, at the
    // first text, and by default opens every installed font file to do so.
    FontFolders::buildFontList();

    if (options.wantsSimulatedDevice())
        midiManager.setPorts (SystemMidiPorts::create (true));

    // Nothing is opened at start unless the user asked Device Setup to remember the devices.
    deviceSettings = std::make_unique<DeviceSettings> (DeviceSettings::defaultFile());
    deviceSettings->openRemembered (midiManager);
    presetSender = std::make_unique<PresetSender> (midiManager);
    // Read, not acted on: nothing is sent before the user changes a preset.
    presetSender->setSendingChanges (deviceSettings->isOn (DeviceSettings::Option::sendChanges));
    presetSender->setVerifying (deviceSettings->isOn (DeviceSettings::Option::verifyAfterSending));
    presetSender->onSendingChangesFailed = [this]
    {
        setSendOption (DeviceSettings::Option::sendChanges, false);
        showMidiError();
    };

    commandManager = std::make_unique<juce::ApplicationCommandManager>();
    menuModel = std::make_unique<MainMenuModel> (commandManager.get());
    menuModel->offersSimulatedDevice = options.wantsSimulatedDevice();
    commandManager->registerAllCommandsForTarget (this);
    lastDirectory = UserFolders::documents();
    extraAppleMenuItems = MainMenuModel::createAppleMenuItems (commandManager.get());
    windowManager = std::make_unique<WindowManager> (&midiManager, commandManager.get(), &lastDirectory);
    windowManager->setRecoveryStore (recovery.get());
    windowManager->setDeviceSettings (deviceSettings.get());
    windowManager->setPresetSender (presetSender.get());
    menuModel->openDocuments = [this] { return openDocumentsForMenu(); };
    followDevices();

    if (!SystemMenuBar::show (menuModel.get(), &extraAppleMenuItems))
    {
        windowManager->setMenuBarModel (menuModel.get());
        // Without a system menu bar a process with no window cannot be reached: closing the last
        // document ends the editor, as desktop users expect.
        windowManager->onLastDocumentClosed = [this] { quitAction(); };
    }

    if (options.namesAFile())
        openLaunchArgument (options.getDocumentArgument());
    else
        windowManager->newDocument();

    juce::LookAndFeel::getDefaultLookAndFeel().setUsingNativeAlertWindows (true);
    // A launch from the desktop has no terminal to read stderr: a name that was refused is said
    // in the window too.
    for (const auto& problem : options.getProblems())
        Dialogs::get().showAlert ("Invalid File", problem);

    // Once the first window is up, what ended editors left is offered in front of it.
    triggerAsyncUpdate();
}

void OrvaneZellSeriesEditorApplication::handleAsyncUpdate()
{
    offerRecovery();
}

void OrvaneZellSeriesEditorApplication::shutdown()
{
    cancelPendingUpdate();
    devicePoller.reset();
    handOver.reset();
    // Documents still open now were not closed through their save question (a quit by SIGINT):
    // their entries stay for the next start.
    windowManager.reset();
    presetSender.reset();
    recovery.reset();
    SystemMenuBar::hide();
    menuModel.reset();
}

void OrvaneZellSeriesEditorApplication::anotherInstanceStarted (const juce::String& commandLine)
{
    openLaunchArgument (LaunchOptions::fromFrameworkText (commandLine));
}

void OrvaneZellSeriesEditorApplication::openLaunchArgument (const juce::String& argument)
{
    if (windowManager == nullptr)
        return;

    // A launch without a file brings the editor forward; it does not replace anybody's preset.
    if (argument.isEmpty() || argument.startsWith ("-"))
    {
        if (windowManager->getNumDocuments() == 0)
            windowManager->newDocument();
        else
            windowManager->bringAllToFront();

        return;
    }

    windowManager->openFileInActiveDocument (
        LaunchOptions::resolve (juce::File::getCurrentWorkingDirectory(), argument));
}

void OrvaneZellSeriesEditorApplication::systemRequestedQuit()
{
    // The session's end arrives here (on Windows as the question whether it may end), and the
    // system may end the editor whatever is answered: what was changed is on disk before asking.
    keepUnsavedWork();
    if (choosersOpen > 0)
        return;

    if (windowManager == nullptr || windowManager->closeAllDocuments())
        quitAction();
}

void OrvaneZellSeriesEditorApplication::followDevices()
{
    // Without the system's MIDI service every list read would try to reach it again; the
    // simulated set-up is still followed.
    auto& ports = midiManager.getPorts();
    if (SystemMidiPorts::missingService().isNotEmpty() && ports.getSimulatedMarlo() == nullptr)
        return;
    devicePoller = std::make_unique<DeviceListPoller> (
        [&ports] {
            return DeviceListPoller::Lists{ports.getInputNames(), ports.getOutputNames()};
        },
        TransferTimer::createSystemTimer());
    devicePoller->isNeeded = [this] { return windowManager != nullptr && windowManager->needsDeviceLists(); };
    devicePoller->onChanged = [this] (const DeviceListPoller::Lists& lists)
    {
        if (windowManager != nullptr)
            windowManager->followDeviceLists (lists);
    };
    devicePoller->start();
}

void OrvaneZellSeriesEditorApplication::getAllCommands (juce::Array<juce::CommandID>& commands)
{
    for (auto id : applicationCommands)
        commands.add (id);
    for (auto id : sendOptionCommands)
        commands.add (id);
}

void OrvaneZellSeriesEditorApplication::getCommandInfo (juce::CommandID commandID,
                                                        juce::ApplicationCommandInfo& result)
{
    if (isApplicationCommand (commandID))
        describeCommand (commandID, result);
    if (commandID == CommandIDs::plugSimulatedMarlo)
    {
        const auto* marlo = midiManager.getPorts().getSimulatedMarlo();
        result.setActive (marlo != nullptr);
        if (marlo != nullptr && !marlo->isPluggedIn())
            result.shortName = "Plug In Simulated Marlo";
    }
    if (commandID == CommandIDs::sendChangesToController && presetSender != nullptr)
        result.setTicked (presetSender->isSendingChanges());
    if (commandID == CommandIDs::verifyAfterSending && presetSender != nullptr)
        result.setTicked (presetSender->isVerifying());
}

bool OrvaneZellSeriesEditorApplication::perform (const InvocationInfo& info)
{
    if (windowManager == nullptr)
        return true;

    switch (info.commandID)
    {
        case CommandIDs::newWindow:
            windowManager->newDocument();
            break;
        case CommandIDs::open:
            openDocumentWithChooser();
            break;
        case CommandIDs::closeWindow:
            windowManager->closeActiveDocument();
            break;
        case CommandIDs::quit:
            systemRequestedQuit();
            break;
        case CommandIDs::about:
            windowManager->showAbout();
            break;
        case CommandIDs::deviceSetup:
            windowManager->showDeviceSetup();
            break;
        case CommandIDs::findController:
            windowManager->showFindController();
            break;
        case CommandIDs::plugSimulatedMarlo:
            if (auto* marlo = midiManager.getPorts().getSimulatedMarlo())
            {
                if (marlo->isPluggedIn())
                    marlo->vanish();
                else
                    marlo->plugIn();
            }
            break;
        case CommandIDs::sendChangesToController:
            if (!presetSender->isSendingChanges() && !midiManager.isOutputOpen())
                showMidiError();
            else
                setSendOption (DeviceSettings::Option::sendChanges, !presetSender->isSendingChanges());
            break;
        case CommandIDs::verifyAfterSending:
            setSendOption (DeviceSettings::Option::verifyAfterSending, !presetSender->isVerifying());
            break;
        case CommandIDs::minimize:
            windowManager->minimizeActiveDocument();
            break;
        case CommandIDs::bringAllToFront:
            windowManager->bringAllToFront();
            break;
        case CommandIDs::midiMonitor:
            windowManager->showMonitor();
            break;
        case CommandIDs::library:
            windowManager->showLibrary();
            break;
        case CommandIDs::openUserGuide:
            openUserGuide();
            break;
        default:
            break;
    }

    return true;
}

void OrvaneZellSeriesEditorApplication::openDocumentWithChooser()
{
    // At the limit the chooser is not shown; newDocument reports the limit.
    if (!windowManager->canOpenAnotherDocument())
    {
        windowManager->newDocument();
        return;
    }

    ++choosersOpen;
    const auto picked =
        Dialogs::get().chooseFileToOpen ("Select Filename to open", lastDirectory, PresetFile::openPattern);
    --choosersOpen;

    if (!picked.has_value())
        return;

    windowManager->openFile (*picked);
    lastDirectory = picked->getParentDirectory();
}

void OrvaneZellSeriesEditorApplication::setSendOption (DeviceSettings::Option option, bool on)
{
    if (option == DeviceSettings::Option::sendChanges)
        presetSender->setSendingChanges (on);
    else
        presetSender->setVerifying (on);
    // A setting that cannot be written still holds for this run.
    if (!deviceSettings->setOn (option, on))
        std::cerr << "marlo-editor: " << deviceSettings->getFile().getFullPathName()
                  << ": the option was not kept" << std::endl;
    if (commandManager != nullptr)
        commandManager->commandStatusChanged();
}

std::vector<MainMenuModel::OpenDocument> OrvaneZellSeriesEditorApplication::openDocumentsForMenu() const
{
    std::vector<MainMenuModel::OpenDocument> listed;
    if (windowManager == nullptr)
        return listed;

    const auto* active = windowManager->getActiveDocument();
    for (int index = 0; index < windowManager->getNumDocuments(); ++index)
    {
        juce::Component::SafePointer<EditorDocument> document (windowManager->getDocument (index));
        listed.push_back ({document->getDocumentName(), document.getComponent() == active,
                           [document]
                           {
                               // The document may have closed before its item was chosen.
                               if (document != nullptr)
                               {
                                   document->setMinimised (false);
                                   document->toFront (true);
                               }
                           }});
    }
    return listed;
}

void OrvaneZellSeriesEditorApplication::keepUnsavedWork()
{
    if (recovery != nullptr)
        recovery->flush();
}

void OrvaneZellSeriesEditorApplication::offerRecovery()
{
    if (recovery == nullptr || windowManager == nullptr)
        return;

    const auto entries = recovery->claimLeftEntries();
    if (entries.empty())
        return;

    juce::String message ("The editor ended before these presets were saved:");
    for (const auto& entry : entries)
        message << "\r\n"
                << entry.preset.name << " ("
                << (entry.preset.file != juce::File() ? entry.preset.file.getFullPathName() : "never saved")
                << ")";

    Dialogs::RecoveryAnswer answer;
    {
        // A quit while the question is open would return into a shut-down editor.
        const juce::ScopedValueSetter<int> asking (choosersOpen, choosersOpen + 1);
        answer = Dialogs::get().askToRecover ("Recover Unsaved Presets", message);
    }

    if (answer == Dialogs::RecoveryAnswer::later || windowManager == nullptr)
        return;

    std::vector<const RecoveryStore::LeftEntry*> done;
    for (const auto& entry : entries)
    {
        if (answer == Dialogs::RecoveryAnswer::recover && !windowManager->openRecovered (entry.preset))
            break;
        done.push_back (&entry);
    }
    // The recovered presets are kept anew before the old entries go; where they could not be
    // written, the old entries stay for the next start.
    if (!recovery->flush())
        return;
    for (const auto* entry : done)
        recovery->remove (*entry);
}

juce::File OrvaneZellSeriesEditorApplication::getUserGuideFile()
{
    static const juce::String folderName ("Marlo Editor");
    static const juce::String fileName ("Marlo Editor - User Guide - v1.0.pdf");

    // The base is the home folder: the path text itself supplies "Documents".
    const auto home = juce::File::getSpecialLocation (juce::File::userHomeDirectory);
    return juce::File (home.getFullPathName() + "/Documents/Orvane/" + folderName + "/" + fileName);
}

juce::File OrvaneZellSeriesEditorApplication::getInstalledUserGuide()
{
    const auto program = juce::File::getSpecialLocation (juce::File::currentExecutableFile);
    // The program lies in <prefix>/bin and the guide under <prefix>/share/doc.
    return program.getParentDirectory().getParentDirectory().getChildFile (MARLO_INSTALLED_USER_GUIDE);
}

juce::Array<juce::File> OrvaneZellSeriesEditorApplication::getUserGuidePlaces()
{
    return {getUserGuideFile(), getInstalledUserGuide(), getBuiltUserGuide()};
}

juce::File OrvaneZellSeriesEditorApplication::getBuiltUserGuide()
{
    // The build puts a copy of the guide beside the program it builds.
    return juce::File::getSpecialLocation (juce::File::currentExecutableFile)
        .getSiblingFile ("user-guide")
        .getChildFile ("index.html");
}

bool OrvaneZellSeriesEditorApplication::openWithSystemViewer (const juce::File& guide)
{
    // Never through a shell, which would run a guide that carries the execute bit (as files
    // copied from FAT or NTFS media do) instead of showing it.
    auto viewer = std::make_unique<juce::ChildProcess>();

    if (!viewer->start (juce::StringArray{"xdg-open", guide.getFullPathName()}, 0))
        return false;

    guideViewer = std::move (viewer);
    return true;
}

void OrvaneZellSeriesEditorApplication::openUserGuide()
{
    const auto personal = getUserGuideFile();

    for (const auto& guide : getUserGuidePlaces())
        if (guide.existsAsFile() && guideOpener (guide))
            return;

    Dialogs::get().showModalMessage ("Orvane Zell Series Editor",
                                     "Unable to find User Guide: \r\n" + personal.getFullPathName());
}
