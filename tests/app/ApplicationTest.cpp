#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "ApplicationProbe.h"

#include "app/CommandIDs.h"
#include "app/OrvaneZellSeriesEditorApplication.h"
#include "app/WindowFit.h"
#include "editor/EditorTestSupport.h"
#include "editor/ZellControlLayoutView.h"
#include "midi/SimulatedMarlo.h"
#include "platform/UserFolders.h"
#include "preset/PresetLayout.h"
#include "support/SystemUnderTest.h"

#include <cstdlib>

namespace
{
/** The application object as the framework drives it, but inside the test's message loop:
    the single-instance pipe is isolated and a quit only counts instead of ending the loop. */
class ApplicationTest : public ::testing::Test
{
protected:
    ApplicationTest()
    {
        SystemUnderTest::setEnvironment (
            "MARLO_EDITOR_INSTANCE", ("app-test-" + juce::String (juce::Random().nextInt64())).toRawUTF8());
        application->setQuitAction ([this] { ++quits; });
    }

    ~ApplicationTest() override
    {
        if (initialised)
            application->shutdown();
        application.reset();
        SystemUnderTest::unsetEnvironment ("MARLO_EDITOR_INSTANCE");
    }

    void start (std::vector<std::string> arguments = {})
    {
        application->setLaunchArguments (std::move (arguments));
        application->initialise ({});
        initialised = true;
    }

    WindowManager& windows() { return *ApplicationProbe::windows (*application); }
    juce::ApplicationCommandManager& commands() { return *ApplicationProbe::commands (*application); }
    MidiManager& midi() { return ApplicationProbe::midi (*application); }

    bool invoke (juce::CommandID id) { return commands().invokeDirectly (id, false); }

    TemporaryFolder folder;
    RecordingDialogs dialogs;
    std::unique_ptr<OrvaneZellSeriesEditorApplication> application =
        std::make_unique<OrvaneZellSeriesEditorApplication>();
    bool initialised = false;
    int quits = 0;
};

struct MenuItem
{
    juce::String text;
    juce::CommandID id;
    bool enabled;
    bool separator;
};

std::vector<MenuItem> itemsOf (const juce::PopupMenu& menu)
{
    std::vector<MenuItem> items;
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();
        items.push_back ({item.text, item.itemID, item.isEnabled, item.isSeparator});
    }
    return items;
}

juce::StringArray textsOf (const std::vector<MenuItem>& items)
{
    juce::StringArray texts;
    for (const auto& item : items)
        texts.add (item.separator ? "---" : item.text);
    return texts;
}
} // namespace

TEST_F (ApplicationTest, StartsWithOneUntitledDocumentAndNoDevice)
{
    start();
    ASSERT_EQ (windows().getNumDocuments(), 1);
    EXPECT_EQ (windows().getDocument (0)->getName(), "Orvane Marlo Editor - Untitled 1");
    EXPECT_EQ (ApplicationProbe::lastDirectory (*application), UserFolders::documents());
    EXPECT_FALSE (midi().isInputOpen());
    EXPECT_FALSE (midi().isOutputOpen());
    EXPECT_EQ (application->getApplicationName(), "Orvane Zell Series Editor");
    // The one version is the project's, set in CMake.
    EXPECT_EQ (application->getApplicationVersion(), JUCE_APPLICATION_VERSION_STRING);
}

TEST_F (ApplicationTest, AFileOnTheCommandLineIsLoadedAndADashArgumentGivesANewDocument)
{
    const auto file = writePresetFile (folder / "Stage Piano.marlo", 7);
    start ({"--simulated-device", file.getFullPathName().toStdString()});

    ASSERT_EQ (windows().getNumDocuments(), 1);
    EXPECT_EQ (windows().getDocument (0)->getFile(), file);
    EXPECT_EQ (windows().getDocument (0)->getName(), "Orvane Marlo Editor - Stage Piano");
    EXPECT_TRUE (midi().getPorts().getInputNames().contains (SimulatedMarlo::deviceName));
}

TEST_F (ApplicationTest, AnOptionAloneGivesANewDocumentAndNoSimulatedDevice)
{
    start ({"-psn_0_12345"});
    ASSERT_EQ (windows().getNumDocuments(), 1);
    EXPECT_EQ (windows().getDocument (0)->getDocumentName(), "Untitled 1");
    EXPECT_FALSE (midi().getPorts().getInputNames().contains (SimulatedMarlo::deviceName));
}

TEST_F (ApplicationTest, ASecondLaunchsFileReachesTheActiveDocument)
{
    start();
    auto* document = windows().getDocument (0);
    ASSERT_TRUE (activate (*document));
    const auto file = writePresetFile (folder / "Handed.marlo", 11);

    application->anotherInstanceStarted ("\"" + file.getFullPathName() + "\"");

    EXPECT_EQ (windows().getNumDocuments(), 1);
    EXPECT_EQ (document->getFile(), file);
    EXPECT_TRUE (dialogs.questions.empty());
}

TEST_F (ApplicationTest, RegistersTheCommandTableWithItsKeys)
{
    start();
    juce::Array<juce::CommandID> own;
    application->getAllCommands (own);
    EXPECT_EQ (own, juce::Array<juce::CommandID> ({0x200090, 0x200010, 0x200020, 0x200310, 0x200030, 0x200410,
                                                   0x200420, 0x200510, 0x200060, 0x200430, 0x200320, 0x200330,
                                                   0x200440, 0x200340, 0x200350}));

    struct Row
    {
        juce::CommandID id;
        const char* name;
        int key;
    };
    const Row table[] = {{0x200010, "New Window ", 'n'},
                         {0x200020, "Open", 'o'},
                         {0x200030, "Close Window", 'w'},
                         {0x200040, "Save", 's'},
                         {0x200050, "Save As", 0},
                         {0x200060, "Quit", 'q'},
                         {0x200070, "Get Preset", 0},
                         {0x200080, "Send Preset", 0},
                         {0x200090, "About", 0},
                         {0x200310, "Device Setup", 0},
                         {0x200410, "Minimize", 'm'},
                         {0x200420, "Bring All to Front", 0},
                         {0x200510, "Open User Guide", 'h'},
                         {0x200430, "MIDI Monitor", 0},
                         {0x200440, "Library", 'l'}};

    auto* mappings = commands().getKeyMappings();
    for (const auto& row : table)
    {
        const auto* command = commands().getCommandForID (row.id);
        ASSERT_NE (command, nullptr) << row.name;
        EXPECT_EQ (command->shortName, row.name);
        EXPECT_EQ (command->categoryName, "General");
        const auto keys = mappings->getKeyPressesAssignedToCommand (row.id);
        if (row.key == 0)
        {
            EXPECT_TRUE (keys.isEmpty()) << row.name;
        }
        else
        {
            ASSERT_EQ (keys.size(), 1) << row.name;
            EXPECT_EQ (keys[0], juce::KeyPress (row.key, juce::ModifierKeys::commandModifier, 0)) << row.name;
            EXPECT_EQ (mappings->findCommandForKeyPress (keys[0]), row.id);
        }
    }

    juce::ApplicationCommandInfo documentOnly (CommandIDs::saveDocument);
    application->getCommandInfo (CommandIDs::saveDocument, documentOnly);
    EXPECT_TRUE (documentOnly.shortName.isEmpty());
    EXPECT_TRUE (application->perform (juce::ApplicationCommandTarget::InvocationInfo (0x777)));
}

TEST_F (ApplicationTest, KeysReachTheCommandsThroughADocumentWindow)
{
    start();
    auto* document = windows().getDocument (0);
    ASSERT_TRUE (activate (*document));

    // As the window system delivers it: to the focused component, then up to the window's key listeners.
    ASSERT_NE (document->getPeer(), nullptr);
    EXPECT_TRUE (
        document->getPeer()->handleKeyPress (juce::KeyPress ('n', juce::ModifierKeys::commandModifier, 0)));
    runMessageLoopUntil ([this] { return windows().getNumDocuments() == 2; });
    EXPECT_EQ (windows().getNumDocuments(), 2);
}

TEST_F (ApplicationTest, UndoPagesAndBanksAnswerTheirKeysFromInsideANumberBox)
{
    start();
    auto* document = windows().getDocument (0);
    ASSERT_TRUE (activate (*document));
    auto* peer = document->getPeer();
    ASSERT_NE (peer, nullptr);
    auto& editor = *document->getEditor();
    const auto command = juce::ModifierKeys::commandModifier;
    const auto press = [peer] (const juce::KeyPress& key) { return peer->handleKeyPress (key); };
    // The pages are kept in the order of their buttons' addresses, so a page is found by its tab.
    const auto pageOfTab = [&editor] (int index)
    { return editor.getViewFor (dynamic_cast<juce::Button*> (editor.getTabSelector().getButtons()[index])); };

    ASSERT_TRUE (press (juce::KeyPress ('2', command, 0)));
    EXPECT_TRUE (pageOfTab (1)->isVisible()) << "Ctrl+2 opens the second page in tab order";

    auto* box = findAs<NumberBox> (editor, "Knob 1 CC");
    ASSERT_NE (box, nullptr);
    // The window system's own focus events for the new window may still be on their way.
    runMessageLoopFor (200);
    box->grabKeyboardFocus();
    ASSERT_TRUE (box->hasKeyboardFocus (false));
    const auto before = document->getController()->getPresetData();
    const juce::String typed = box->getText() == "99" ? "98" : "99";
    for (auto character : typed)
        press (juce::KeyPress (static_cast<int> (character), {}, character));
    press (juce::KeyPress (juce::KeyPress::returnKey));
    // The text editor hands Return on through a posted message.
    runMessageLoopUntil ([&] { return document->getController()->getPresetData() != before; }, 2000);
    const auto edited = document->getController()->getPresetData();
    ASSERT_NE (edited, before);

    juce::ApplicationCommandInfo undoInfo (CommandIDs::undo);
    document->getCommandInfo (CommandIDs::undo, undoInfo);
    EXPECT_EQ (undoInfo.flags & juce::ApplicationCommandInfo::isDisabled, 0);

    ASSERT_TRUE (press (juce::KeyPress ('z', command, 0)));
    EXPECT_EQ (document->getController()->getPresetData(), before);
    ASSERT_TRUE (press (juce::KeyPress ('z', command | juce::ModifierKeys::shiftModifier, 0)));
    EXPECT_EQ (document->getController()->getPresetData(), edited);
    press (juce::KeyPress ('z', command, 0));
    ASSERT_TRUE (press (juce::KeyPress ('y', command, 0)));
    EXPECT_EQ (document->getController()->getPresetData(), edited);
    EXPECT_EQ (box->getText(), typed);

    ASSERT_TRUE (press (juce::KeyPress ('4', command, 0)));
    auto* padsPage = dynamic_cast<ZellControlLayoutView*> (pageOfTab (3));
    ASSERT_NE (padsPage, nullptr);
    auto& banks = padsPage->getBankView();
    ASSERT_GE (banks.getBankCount(), 2);
    press (juce::KeyPress (juce::KeyPress::rightKey, command, 0));
    EXPECT_EQ (banks.getCurrentBank(), 1);
    press (juce::KeyPress (juce::KeyPress::leftKey, command, 0));
    EXPECT_EQ (banks.getCurrentBank(), 0);
    EXPECT_TRUE (dialogs.alertsShown().empty());
}

TEST_F (ApplicationTest, ZoomKeysScaleTheWholeWindowInStepsThatFitAndKeepItsPlaceOnTheScreen)
{
    start();
    auto* document = windows().getDocument (0);
    ASSERT_TRUE (activate (*document));
    auto* peer = document->getPeer();
    ASSERT_NE (peer, nullptr);
    const auto command = juce::ModifierKeys::commandModifier;
    const auto press = [peer] (const juce::KeyPress& key) { return peer->handleKeyPress (key); };
    const auto size = document->getLocalBounds().getBottomRight();
    // Where the window, framed, lies inside the screen at every step that fits, so that it has no
    // reason to move.
    document->setTopLeftPosition (40, 60);
    const auto topLeft = peer->getBounds().getTopLeft();
    ASSERT_EQ (topLeft, juce::Point<int> (40, 60));
    ASSERT_EQ (document->getZoom(), 100);
    ASSERT_EQ (peer->getBounds().getBottomRight() - topLeft, size);

    const auto expectZoom = [&] (int percent)
    {
        EXPECT_EQ (document->getZoom(), percent);
        // The window keeps its size in its own units; the screen shows it scaled, where it was.
        EXPECT_EQ (document->getLocalBounds().getBottomRight(), size);
        EXPECT_EQ (peer->getBounds().getWidth(), juce::roundToInt (size.x * percent / 100.0));
        EXPECT_EQ (peer->getBounds().getHeight(), juce::roundToInt (size.y * percent / 100.0));
        // Within the rounding to whole units of the window.
        EXPECT_LE (peer->getBounds().getTopLeft().getDistanceFrom (topLeft), 2.0f);
    };

    // Larger steps as long as the window, frame and all, fits the screen's user area; then the
    // keys do nothing and the View menu greys the step.
    const auto* display =
        juce::Desktop::getInstance().getDisplays().getDisplayForRect (document->getScreenBounds());
    ASSERT_NE (display, nullptr);
    const auto knownFrame = peer->getFrameSizeIfPresent();
    const auto frame = knownFrame ? *knownFrame : juce::BorderSize<int>();
    const auto onScreen = [&] { return display->userArea.contains (frame.addedTo (peer->getBounds())); };
    const auto zoomInActive = [&]
    {
        juce::ApplicationCommandInfo info (CommandIDs::zoomIn);
        return commands().getTargetForCommand (CommandIDs::zoomIn, info) != nullptr &&
               (info.flags & juce::ApplicationCommandInfo::isDisabled) == 0;
    };
    const juce::KeyPress zoomKeys[] = {juce::KeyPress ('=', command, 0),
                                       juce::KeyPress ('+', command | juce::ModifierKeys::shiftModifier, 0),
                                       juce::KeyPress (juce::KeyPress::numberPadAdd, command, 0)};
    auto expected = 100;
    for (int i = 0; i < 8; ++i)
    {
        const auto next = WindowFit::stepFrom (expected, 1);
        const auto fits = frame.getLeftAndRight() + juce::roundToInt (size.x * next / 100.0) <=
                              display->userArea.getWidth() &&
                          frame.getTopAndBottom() + juce::roundToInt (size.y * next / 100.0) <=
                              display->userArea.getHeight();
        EXPECT_EQ (zoomInActive(), fits && next != expected) << next;
        press (zoomKeys[i % 3]);
        expected = fits ? next : expected;
        expectZoom (expected);
        EXPECT_TRUE (onScreen()) << "at " << expected << " %: " << peer->getBounds().toString();
    }
    EXPECT_GT (expected, 100) << "the test's screen has room for a larger step";
    EXPECT_LT (expected, 200) << "the test's screen is too large to refuse a step";
    EXPECT_FALSE (zoomInActive());

    ASSERT_TRUE (press (juce::KeyPress ('0', command, 0)));
    expectZoom (100);
    EXPECT_EQ (peer->getBounds().getTopLeft(), topLeft) << "no drift after a run of zooms";
    for (int i = 0; i < 6; ++i)
        press (juce::KeyPress ('-', command, 0));
    expectZoom (50);

    // A point of the window is found where the zoomed window shows it.
    auto& editor = *document->getEditor();
    const auto tab = editor.getTabSelector().getButtons()[2]->getScreenBounds().getCentre();
    EXPECT_EQ (peer->globalToLocal (tab.toFloat()).roundToInt(),
               (document->getLocalPoint (nullptr, tab).toFloat() * 0.5f).roundToInt());
    invoke (CommandIDs::actualSize);
    expectZoom (100);
}

TEST_F (ApplicationTest, TheMenuBarHasItsMenusAndItems)
{
    start();
    auto* menu = ApplicationProbe::menu (*application);
    EXPECT_EQ (menu->getMenuBarNames(),
               juce::StringArray ({"File", "Edit", "View", "Options", "Window", "Help"}));

    const auto file = itemsOf (menu->getMenuForIndex (0, "File"));
    const auto edit = itemsOf (menu->getMenuForIndex (1, "Edit"));
    const auto view = itemsOf (menu->getMenuForIndex (2, "View"));
    const auto options = itemsOf (menu->getMenuForIndex (3, "Options"));
    const auto window = itemsOf (menu->getMenuForIndex (4, "Window"));
    const auto help = itemsOf (menu->getMenuForIndex (5, "Help"));
    juce::StringArray fileItems ({"New Window ", "Open", "Close Window", "Save", "Save As"});
    fileItems.add (juce::CharPointer_UTF8 ("Export SysEx\u2026"));
    fileItems.add ("Hardware");

#if JUCE_MAC
    EXPECT_EQ (textsOf (file), fileItems);
    EXPECT_EQ (textsOf (help), juce::StringArray ({"Open User Guide"}));
#else
    // No application menu here: "Quit" ends File and "About" ends Help.
    fileItems.addArray ({"---", "Quit"});
    EXPECT_EQ (textsOf (file), fileItems);
    EXPECT_EQ (textsOf (help), juce::StringArray ({"Open User Guide", "---", "About"}));
#endif
    EXPECT_EQ (textsOf (edit), juce::StringArray ({"Undo", "Redo"}));
    EXPECT_EQ (textsOf (view), juce::StringArray ({"Zoom In", "Zoom Out", "Actual Size"}));
    // Unplugging the simulated Marlo is offered only with the simulated set-up.
    EXPECT_EQ (textsOf (options), juce::StringArray ({"Device Setup", "Find Controller",
                                                      "Send Changes to Controller", "Verify after Sending"}));
    EXPECT_EQ (textsOf (window), juce::StringArray ({"Minimize", "Bring All to Front", "MIDI Monitor",
                                                     "Library", "---", "Untitled 1"}));
    EXPECT_EQ (file[0].id, CommandIDs::newWindow);

    const auto fileMenu = menu->getMenuForIndex (0, "File");
    juce::PopupMenu::MenuItemIterator it (fileMenu);
    const juce::PopupMenu* hardware = nullptr;
    while (it.next())
        if (it.getItem().text == "Hardware")
            hardware = it.getItem().subMenu.get();
    ASSERT_NE (hardware, nullptr);
    EXPECT_EQ (textsOf (itemsOf (*hardware)),
               juce::StringArray ({"Get Preset", "Send Preset", "Compare with Controller"}));

    EXPECT_TRUE (itemsOf (menu->getMenuForIndex (6, "Zoom")).empty());
    EXPECT_EQ (textsOf (itemsOf (MainMenuModel::createAppleMenuItems (&commands()))),
               juce::StringArray ({"About"}));
}

TEST_F (ApplicationTest, TheWindowMenuListsTheOpenDocumentsAndBringsTheChosenOneForward)
{
    start();
    ASSERT_TRUE (invoke (CommandIDs::newWindow));
    auto* second = windows().getDocument (1);
    auto* menu = ApplicationProbe::menu (*application);
    const auto listed = menu->openDocuments();
    ASSERT_EQ (listed.size(), 2u);
    EXPECT_EQ (listed[0].name, "Untitled 1");
    EXPECT_EQ (listed[1].name, "Untitled 2");
    EXPECT_EQ (listed[0].active, windows().getDocument (0) == windows().getActiveDocument());
    EXPECT_EQ (listed[1].active, second == windows().getActiveDocument());

    // Their items carry ids of their own, which no command shares, and a tick where listed active.
    const auto windowMenu = menu->getMenuForIndex (4, "Window");
    juce::PopupMenu::MenuItemIterator it (windowMenu);
    std::vector<const juce::PopupMenu::Item*> documentItems;
    while (it.next())
        if (it.getItem().text.startsWith ("Untitled"))
            documentItems.push_back (&it.getItem());
    ASSERT_EQ (documentItems.size(), 2u);
    for (size_t i = 0; i < documentItems.size(); ++i)
    {
        EXPECT_NE (documentItems[i]->itemID, 0);
        EXPECT_EQ (commands().getCommandForID (documentItems[i]->itemID), nullptr);
        EXPECT_EQ (documentItems[i]->isTicked, listed[i].active);
    }

    // A document that closed while its item was listed is passed over when the item is chosen.
    dialogs.saveAnswers.push_back (Dialogs::SaveAnswer::no);
    windows().windowCloseRequested (second);
    ASSERT_EQ (windows().getNumDocuments(), 1);
    listed[1].bringToFront();
}

TEST_F (ApplicationTest, DocumentItemsAreDisabledWithoutAnActiveDocument)
{
    start();
    dialogs.saveAnswers.push_back (Dialogs::SaveAnswer::no);
    ASSERT_TRUE (windows().closeAllDocuments());
    runMessageLoopFor (50);

    auto* menu = ApplicationProbe::menu (*application);
    auto enabledOf = [] (const std::vector<MenuItem>& items)
    {
        std::map<juce::String, bool> enabled;
        for (const auto& item : items)
            enabled[item.text] = item.enabled;
        return enabled;
    };

    auto file = enabledOf (itemsOf (menu->getMenuForIndex (0, "File")));
    EXPECT_FALSE (file["Save"]);
    EXPECT_FALSE (file["Save As"]);
    EXPECT_TRUE (file["New Window "]);
    EXPECT_TRUE (file["Open"]);
    EXPECT_TRUE (file["Close Window"]);
    EXPECT_TRUE (file["Hardware"]);
    EXPECT_TRUE (enabledOf (itemsOf (menu->getMenuForIndex (1, "Options")))["Device Setup"]);

    juce::ApplicationCommandInfo info (0);
    EXPECT_EQ (commands().getTargetForCommand (CommandIDs::getPreset, info), nullptr);
    EXPECT_EQ (commands().getTargetForCommand (CommandIDs::sendPreset, info), nullptr);

    // With a document in front they are enabled.
    windows().newDocument();
    ASSERT_TRUE (activate (*windows().getDocument (0)));
    file = enabledOf (itemsOf (menu->getMenuForIndex (0, "File")));
    EXPECT_TRUE (file["Save"]);
    EXPECT_TRUE (file["Save As"]);
    EXPECT_EQ (commands().getTargetForCommand (CommandIDs::getPreset, info), windows().getDocument (0));
}

TEST_F (ApplicationTest, OpenAtTheLimitShowsTheAlertAndNoChooser)
{
    start();
    for (int i = 0; i < 4; ++i)
        invoke (CommandIDs::newWindow);
    ASSERT_EQ (windows().getNumDocuments(), 5);

    invoke (CommandIDs::open);
    EXPECT_TRUE (dialogs.choosersShown.empty());
    EXPECT_EQ (dialogs.countAlerts ("Maxiumum Number of Open Documents Reached"), 1);
}

TEST_F (ApplicationTest, OpenUsesTheSharedFolderAndMovesIt)
{
    start();
    ApplicationProbe::lastDirectory (*application) = folder.get();
    TemporaryFolder elsewhere;
    const auto file = writePresetFile (elsewhere / "Organ.marlo", 6);

    dialogs.chooserAnswers.push_back (file);
    invoke (CommandIDs::open);

    ASSERT_EQ (dialogs.choosersShown.size(), 1u);
    EXPECT_EQ (dialogs.choosersShown[0].title, "Select Filename to open");
    EXPECT_EQ (dialogs.choosersShown[0].startFolder, folder.get());
    EXPECT_EQ (dialogs.choosersShown[0].pattern, "*.marlo;*.syx");
    EXPECT_EQ (windows().getNumDocuments(), 2);
    EXPECT_EQ (windows().getDocument (1)->getFile(), file);
    EXPECT_EQ (ApplicationProbe::lastDirectory (*application), elsewhere.get());

    // The next document's save chooser starts there too.
    dialogs.chooserAnswers.push_back (std::nullopt);
    windows().getDocument (0)->saveAs();
    EXPECT_EQ (dialogs.choosersShown.back().startFolder, elsewhere.get());
}

TEST_F (ApplicationTest, AMissingUserGuideIsReportedWithItsPath)
{
    start();
    const auto guide = OrvaneZellSeriesEditorApplication::getUserGuideFile();
    EXPECT_EQ (guide,
               juce::File::getSpecialLocation (juce::File::userHomeDirectory)
                   .getChildFile ("Documents/Orvane/Marlo Editor/Marlo Editor - User Guide - v1.0.pdf"));
    ASSERT_FALSE (guide.exists());

    // The copy beside a build of the program may exist; no viewer takes it here.
    juce::Array<juce::File> offered;
    application->setGuideOpener (
        [&offered] (const juce::File& other)
        {
            offered.add (other);
            return false;
        });
    invoke (CommandIDs::openUserGuide);
    for (const auto& other : offered)
        EXPECT_TRUE (other.existsAsFile()) << "a viewer was handed a missing guide";
    ASSERT_EQ (dialogs.modalMessages.size(), 1u);
    EXPECT_EQ (dialogs.modalMessages[0].title, "Orvane Zell Series Editor");
    EXPECT_EQ (dialogs.modalMessages[0].message, "Unable to find User Guide: \r\n" + guide.getFullPathName());
}

TEST_F (ApplicationTest, QuitAsksForEveryDocumentAndStopsAtCancel)
{
    start();
    invoke (CommandIDs::newWindow);
    invoke (CommandIDs::newWindow);

    dialogs.saveAnswers = {Dialogs::SaveAnswer::no, Dialogs::SaveAnswer::cancel};
    invoke (CommandIDs::quit);
    EXPECT_EQ (quits, 0);
    EXPECT_EQ (windows().getNumDocuments(), 2);

    dialogs.saveAnswers = {Dialogs::SaveAnswer::no, Dialogs::SaveAnswer::no};
    application->systemRequestedQuit();
    EXPECT_EQ (quits, 1);
    EXPECT_EQ (windows().getNumDocuments(), 0);

    // With nothing open the quit goes through at once.
    dialogs.questions.clear();
    invoke (CommandIDs::quit);
    EXPECT_EQ (quits, 2);
    EXPECT_TRUE (dialogs.questions.empty());
}

TEST_F (ApplicationTest, AQuitTheSystemAsksForPutsTheChangesOnDiskBeforeAskingAboutThem)
{
    start();
    const auto kept = []
    { return RecoveryStore::defaultFolder().findChildFiles (juce::File::findFiles, true, "*.marlo").size(); };
    const auto before = kept();
    auto changed = windows().getDocument (0)->getController()->getPresetData();
    changed.set (0, 7);
    ASSERT_TRUE (windows().getDocument (0)->getController()->loadPresetData (changed));

    // The system may end the editor while the question is open, or whatever the answer.
    dialogs.saveAnswers = {Dialogs::SaveAnswer::cancel};
    application->systemRequestedQuit();
    EXPECT_EQ (quits, 0);
    EXPECT_EQ (kept(), before + 1);
}

TEST_F (ApplicationTest, ClosingTheLastDocumentEndsTheEditorWhereThereIsNoSystemMenuBar)
{
    start();
    invoke (CommandIDs::newWindow);

    dialogs.saveAnswers = {Dialogs::SaveAnswer::no, Dialogs::SaveAnswer::cancel, Dialogs::SaveAnswer::no};
    ApplicationProbe::windows (*application)->windowCloseRequested (windows().getDocument (1));
    EXPECT_EQ (quits, 0);

    // A refused close of the last one keeps the editor running.
    ApplicationProbe::windows (*application)->windowCloseRequested (windows().getDocument (0));
    EXPECT_EQ (quits, 0);

    ApplicationProbe::windows (*application)->windowCloseRequested (windows().getDocument (0));
#if JUCE_MAC
    EXPECT_EQ (quits, 0);
#else
    EXPECT_EQ (quits, 1);
#endif
}

TEST_F (ApplicationTest, AboutAndDeviceSetupCommandsKeepOneWindowEach)
{
    start();
    invoke (CommandIDs::about);
    invoke (CommandIDs::about);
    invoke (CommandIDs::deviceSetup);
    invoke (CommandIDs::deviceSetup);

    int about = 0, setup = 0;
    auto& desktop = juce::Desktop::getInstance();
    for (int i = 0; i < desktop.getNumComponents(); ++i)
    {
        about += dynamic_cast<AboutWindow*> (desktop.getComponent (i)) != nullptr ? 1 : 0;
        setup += dynamic_cast<DeviceManagerWindow*> (desktop.getComponent (i)) != nullptr ? 1 : 0;
    }
    EXPECT_EQ (about, 1);
    EXPECT_EQ (setup, 1);
}

TEST_F (ApplicationTest, HelpOpensTheUsersOwnGuideFirstAndOtherwiseTheInstalledOne)
{
    const auto realHome = juce::SystemStats::getEnvironmentVariable ("HOME", {});
    SystemUnderTest::setEnvironment ("HOME", folder.get().getFullPathName().toRawUTF8());
    start();

    juce::Array<juce::File> opened;
    application->setGuideOpener (
        [&opened] (const juce::File& guide)
        {
            opened.add (guide);
            return true;
        });

    // The installed guide lies beside the program's own folder, as cmake --install puts it.
    const auto installed = OrvaneZellSeriesEditorApplication::getInstalledUserGuide();
    const auto program = juce::File::getSpecialLocation (juce::File::currentExecutableFile);
    EXPECT_EQ (installed.getFileName(), "index.html");
    EXPECT_TRUE (
        installed.isAChildOf (program.getParentDirectory().getParentDirectory().getChildFile ("share/doc")));

    // Next to a build (tools/run-editor runs it from there), the build's own copy of the guide.
    const auto built = OrvaneZellSeriesEditorApplication::getBuiltUserGuide();
    EXPECT_EQ (built, program.getSiblingFile ("user-guide").getChildFile ("index.html"));

    // The user's own guide is made in a home folder of the test's own.
    if (!SystemUnderTest::homeFollowsTheEnvironment())
    {
        SystemUnderTest::setEnvironment ("HOME", realHome.toRawUTF8());
        GTEST_SKIP() << "the user's own guide not checked: the home folder is the profile's here, not $HOME";
    }
    const auto personal = OrvaneZellSeriesEditorApplication::getUserGuideFile();
    EXPECT_EQ (OrvaneZellSeriesEditorApplication::getUserGuidePlaces(),
               juce::Array<juce::File> ({personal, installed, built}));
    ASSERT_TRUE (personal.isAChildOf (folder.get()));
    ASSERT_TRUE (personal.create());
    invoke (CommandIDs::openUserGuide);
    EXPECT_EQ (opened, juce::Array<juce::File> ({personal}));
    EXPECT_TRUE (dialogs.modalMessages.empty());

    // A guide that no viewer will show is reported like a missing one.
    application->setGuideOpener ([] (const juce::File&) { return false; });
    invoke (CommandIDs::openUserGuide);
    ASSERT_EQ (dialogs.modalMessages.size(), 1u);
    EXPECT_EQ (dialogs.modalMessages[0].message,
               "Unable to find User Guide: \r\n" + personal.getFullPathName());

    SystemUnderTest::setEnvironment ("HOME", realHome.toRawUTF8());
}

namespace
{
/** What an editor of this test's instance left when it ended without saving. */
void leaveEntries (const std::vector<RecoveryStore::Preset>& presets)
{
    RecoveryStore ended (RecoveryStore::defaultFolder(), InstanceHandOver::defaultInstanceName());
    for (const auto& preset : presets)
        ended.keep (&preset, preset);
}

RecoveryStore::Preset leftPreset (juce::uint8 transpose, const juce::String& name,
                                  const juce::File& file = {})
{
    auto image = factoryPresetData();
    image.set (0, transpose);
    return {name, file, image};
}
} // namespace

TEST_F (ApplicationTest, RecoveredPresetsTakeThePlaceOfTheStartDocumentAndKeepTheirNames)
{
    const auto lead = folder / "Lead.marlo";
    leaveEntries ({leftPreset (3, "Untitled 4"), leftPreset (4, "Lead", lead)});
    dialogs.recoveryAnswers.push_back (Dialogs::RecoveryAnswer::recover);

    start();
    ASSERT_TRUE (runMessageLoopUntil ([this] { return !dialogs.recoveryQuestions.empty(); }));

    EXPECT_EQ (dialogs.recoveryQuestions[0].title, "Recover Unsaved Presets");
    const auto lines = juce::StringArray::fromLines (dialogs.recoveryQuestions[0].message);
    EXPECT_EQ (lines[0], "The editor ended before these presets were saved:");
    EXPECT_TRUE (lines.contains ("Untitled 4 (never saved)")) << lines.joinIntoString ("|");
    EXPECT_TRUE (lines.contains ("Lead (" + lead.getFullPathName() + ")")) << lines.joinIntoString ("|");

    ASSERT_EQ (windows().getNumDocuments(), 2);
    std::map<juce::String, EditorDocument*> byName;
    for (int i = 0; i < 2; ++i)
        byName[windows().getDocument (i)->getDocumentName()] = windows().getDocument (i);
    ASSERT_EQ (byName.count ("Untitled 1"), 1u) << "the untitled preset takes the start document's number";
    ASSERT_EQ (byName.count ("Lead"), 1u);
    EXPECT_EQ (byName["Untitled 1"]->getController()->getPresetData()[0], 3);
    EXPECT_EQ (byName["Lead"]->getController()->getPresetData()[0], 4);
    EXPECT_EQ (byName["Lead"]->getFile(), lead);
    EXPECT_FALSE (lead.exists()) << "nothing is written until the user saves";

    // They are the user's work: a handed-over file does not replace them, and quitting asks.
    EXPECT_FALSE (byName["Untitled 1"]->isUntouched());
}

TEST_F (ApplicationTest, DiscardDeletesWhatWasLeftAndLaterKeepsItForTheNextStart)
{
    leaveEntries ({leftPreset (5, "Untitled 2")});
    start();
    ASSERT_TRUE (runMessageLoopUntil ([this] { return !dialogs.recoveryQuestions.empty(); }));
    EXPECT_EQ (windows().getNumDocuments(), 1);
    EXPECT_TRUE (windows().getDocument (0)->isUntouched()) << "Escape decides nothing";

    // Offered again to the next editor, which discards it.
    application->shutdown();
    initialised = false;
    application = std::make_unique<OrvaneZellSeriesEditorApplication>();
    application->setQuitAction ([this] { ++quits; });
    dialogs.recoveryAnswers.push_back (Dialogs::RecoveryAnswer::discard);
    start();
    ASSERT_TRUE (runMessageLoopUntil ([this] { return dialogs.recoveryQuestions.size() == 2u; }));
    EXPECT_EQ (windows().getNumDocuments(), 1);

    RecoveryStore later (RecoveryStore::defaultFolder(), InstanceHandOver::defaultInstanceName());
    EXPECT_TRUE (later.claimLeftEntries().empty());
}

TEST_F (ApplicationTest, EntriesBeyondTheDocumentLimitStayForTheNextStart)
{
    std::vector<RecoveryStore::Preset> presets;
    for (int i = 0; i < 7; ++i)
        presets.push_back (leftPreset ((juce::uint8) (i + 1), "Untitled " + juce::String (10 + i)));
    leaveEntries (presets);
    dialogs.recoveryAnswers.push_back (Dialogs::RecoveryAnswer::recover);

    start();
    ASSERT_TRUE (runMessageLoopUntil ([this] { return !dialogs.recoveryQuestions.empty(); }));
    EXPECT_EQ (windows().getNumDocuments(), WindowManager::maxDocuments);

    // The recovered five are this editor's own now and go with their save question ("No");
    // the other two wait for the next start.
    for (int i = 0; i < WindowManager::maxDocuments; ++i)
        dialogs.saveAnswers.push_back (Dialogs::SaveAnswer::no);
    ASSERT_TRUE (windows().closeAllDocuments());
    application->shutdown();
    initialised = false;
    RecoveryStore next (RecoveryStore::defaultFolder(), InstanceHandOver::defaultInstanceName());
    juce::Array<int> left;
    for (const auto& entry : next.claimLeftEntries())
        left.add (entry.preset.image[0]);
    left.sort();
    EXPECT_EQ (left, juce::Array<int> ({6, 7}));
}

TEST_F (ApplicationTest, ANameOpensItselfQuotesSpacesAndAll)
{
    writePresetFile (folder / "a.marlo", 1);
    const auto quoted = writePresetFile (folder / "'a.marlo", 2);
    const auto spaced = writePresetFile (folder / " b c'.marlo", 3);
    const auto previous = juce::File::getCurrentWorkingDirectory();
    folder.get().setAsCurrentWorkingDirectory();

    start ({"'a.marlo"});
    ASSERT_EQ (windows().getNumDocuments(), 1);
    EXPECT_EQ (windows().getDocument (0)->getFile(), quoted);
    EXPECT_EQ (windows().getDocument (0)->getName(), "Orvane Marlo Editor - 'a");

    // Handed over: the later launch made the name absolute, and it arrives unchanged.
    application->openLaunchArgument (spaced.getFullPathName());
    juce::Array<juce::File> open;
    for (int i = 0; i < windows().getNumDocuments(); ++i)
        open.add (windows().getDocument (i)->getFile());
    EXPECT_TRUE (open.contains (spaced));
    EXPECT_FALSE (open.contains (folder / "a.marlo"));

    previous.setAsCurrentWorkingDirectory();
}

TEST_F (ApplicationTest, APresetRecoveredForAFileThatIsOpenGoesIntoItsWindowAsAStep)
{
    const auto lead = writePresetFile (folder / "Lead.marlo", 2);
    leaveEntries ({leftPreset (9, "Lead", lead)});
    dialogs.recoveryAnswers.push_back (Dialogs::RecoveryAnswer::recover);

    start ({lead.getFullPathName().toStdString()});
    ASSERT_TRUE (runMessageLoopUntil ([this] { return !dialogs.recoveryQuestions.empty(); }));

    ASSERT_EQ (windows().getNumDocuments(), 1) << "one window per file";
    auto* controller = windows().getDocument (0)->getController();
    EXPECT_EQ (controller->getPresetData()[0], 9);
    ASSERT_TRUE (controller->undo());
    EXPECT_EQ (controller->getPresetData()[0], 2) << "undo gives back what the file holds";
    EXPECT_EQ (windows().getDocument (0)->getFile(), lead);
}

TEST_F (ApplicationTest, ANameThatIsNotUtf8IsSaidInTheWindowAndOpensNothingElse)
{
    writePresetFile (folder / "bad.marlo", 1);
    const auto previous = juce::File::getCurrentWorkingDirectory();
    folder.get().setAsCurrentWorkingDirectory();

    start ({"bad\xff.marlo"});
    previous.setAsCurrentWorkingDirectory();

    ASSERT_EQ (windows().getNumDocuments(), 1);
    EXPECT_EQ (windows().getDocument (0)->getDocumentName(), "Untitled 1");
    ASSERT_EQ (dialogs.countAlerts ("Invalid File"), 1);
    EXPECT_TRUE (dialogs.alertsShown()[0].message.contains ("not UTF-8")) << dialogs.alertsShown()[0].message;
}

TEST_F (ApplicationTest, TheSimulatedSetUpUnplugsFromOptionsAndFindControllerOpensTheMarloItFinds)
{
    start ({"--simulated-device"});
    auto* menu = ApplicationProbe::menu (*application);
    auto* marlo = midi().getPorts().getSimulatedMarlo();
    ASSERT_NE (marlo, nullptr);
    EXPECT_EQ (textsOf (itemsOf (menu->getMenuForIndex (3, "Options"))).getReference (4),
               "Unplug Simulated Marlo");
    ASSERT_TRUE (invoke (CommandIDs::plugSimulatedMarlo));
    EXPECT_FALSE (marlo->isPluggedIn());
    EXPECT_EQ (textsOf (itemsOf (menu->getMenuForIndex (3, "Options"))).getReference (4),
               "Plug In Simulated Marlo");
    ASSERT_TRUE (invoke (CommandIDs::plugSimulatedMarlo));
    EXPECT_TRUE (marlo->isPluggedIn());

    ASSERT_TRUE (invoke (CommandIDs::findController));
    auto* finder = windows().getFindControllerWindow();
    ASSERT_NE (finder, nullptr);
    auto& content = finder->getComponent();
    // The search waits in real time here, and a machine too busy for the simulated Marlo to answer
    // in time is told that nothing answered, as a user would be; searching again is what they do.
    for (int search = 0; search < 5 && content.getStatus() != "Found the controller"; ++search)
    {
        if (search > 0)
            content.start();
        ASSERT_TRUE (runMessageLoopUntil ([&] { return !content.getFinder().isRunning(); }));
    }
    EXPECT_EQ (content.getStatus(), "Found the controller");
    EXPECT_EQ (content.getList().getSelectedRow(), 0);
    EXPECT_FALSE (midi().isOutputOpen());
    content.getOpenButton().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return windows().getFindControllerWindow() == nullptr; }));
    EXPECT_EQ (midi().getOpenInputName(), SimulatedMarlo::deviceName);
    EXPECT_EQ (midi().getOpenOutputName(), SimulatedMarlo::deviceName);
    EXPECT_EQ (windows().getDocument (0)->getController()->getPresetData(), factoryPresetData())
        << "no document changes";
}

TEST_F (ApplicationTest, SendChangesNeedsAnOutputSendsEachEditAndIsKeptInTheSettingsFile)
{
    start ({"--simulated-device"});
    const auto ticked = [this] (juce::CommandID id)
    {
        juce::ApplicationCommandInfo info (id);
        application->getCommandInfo (id, info);
        return (info.flags & juce::ApplicationCommandInfo::isTicked) != 0;
    };
    const auto settings = DeviceSettings::defaultFile();

    ASSERT_TRUE (invoke (CommandIDs::sendChangesToController));
    EXPECT_EQ (dialogs.countAlerts ("MIDI Error"), 1) << "no output is open";
    EXPECT_FALSE (ticked (CommandIDs::sendChangesToController));
    EXPECT_FALSE (settings.exists());

    midi().setOutputDevice (SimulatedMarlo::deviceName);
    ASSERT_TRUE (invoke (CommandIDs::sendChangesToController));
    ASSERT_TRUE (invoke (CommandIDs::verifyAfterSending));
    EXPECT_TRUE (ticked (CommandIDs::sendChangesToController));
    EXPECT_TRUE (ticked (CommandIDs::verifyAfterSending));
    EXPECT_TRUE (settings.loadFileAsString().contains ("sendChangesToController"));

    auto* document = windows().getDocument (0);
    auto* marlo = midi().getPorts().getSimulatedMarlo();
    typeAndCommit (boxOnPage (*document->getEditor(), 1, "Knob 2 CC"), "88");
    ASSERT_TRUE (runMessageLoopUntil ([&] { return marlo->getDumpCount() == 1; }));
    EXPECT_EQ (marlo->getPreset(), document->getController()->getPresetData());

    ASSERT_TRUE (invoke (CommandIDs::sendChangesToController));
    EXPECT_TRUE (settings.existsAsFile()) << "verifying is still on";
    ASSERT_TRUE (invoke (CommandIDs::verifyAfterSending));
    EXPECT_FALSE (settings.exists());
    EXPECT_EQ (dialogs.countAlerts ("MIDI Error"), 1);
}
