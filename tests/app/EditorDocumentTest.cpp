#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "support/SysExBytes.h"
#include "support/SystemUnderTest.h"

#include "app/CommandIDs.h"
#include "app/EditorDocument.h"
#include "editor/EditorTestSupport.h"
#include "editor/NumberBox.h"
#include "preset/PresetFile.h"

namespace
{
class EditorDocumentTest : public ::testing::Test
{
protected:
    juce::String title() const { return document->getName(); }

    TemporaryFolder folder;
    RecordingDialogs dialogs;
    juce::File lastDirectory = folder.get();
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    std::unique_ptr<EditorDocument> document = createEditorDocument (midi, "Untitled 1", &lastDirectory);
};

/** Deletes the document that asks to close, as the window manager does after "No". */
struct DeletingListener final : public WindowCloseListener
{
    explicit DeletingListener (std::unique_ptr<EditorDocument>& d) : document (d) {}
    void windowCloseRequested (juce::Component* window) override
    {
        ++calls;
        EXPECT_EQ (window, document.get());
        document.reset();
    }
    std::unique_ptr<EditorDocument>& document;
    int calls = 0;
};

struct CountingListener final : public WindowCloseListener
{
    void windowCloseRequested (juce::Component*) override { ++calls; }
    int calls = 0;
};
} // namespace

TEST_F (EditorDocumentTest, ANewDocumentIsTitledAfterItsNameAndHoldsTheDefaultPreset)
{
    EXPECT_EQ (title(), "Orvane Marlo Editor - Untitled 1");
    EXPECT_EQ (document->getDocumentName(), "Untitled 1");
    EXPECT_EQ (document->getFile(), juce::File());
    EXPECT_EQ (document->getController()->getPresetData(), factoryPresetData());
    EXPECT_EQ (document->getContentComponent(), document->getEditor());
    EXPECT_FALSE (document->isOnDesktop());
}

TEST_F (EditorDocumentTest, SaveOnANeverSavedDocumentAsksForANameAndTakesIt)
{
    const auto target = folder / "Bass Patch.marlo";
    dialogs.chooserAnswers.push_back (target);

    EXPECT_TRUE (document->save());

    ASSERT_EQ (dialogs.choosersShown.size(), 1u);
    EXPECT_EQ (dialogs.choosersShown[0].title, "Select Filename to save");
    EXPECT_EQ (dialogs.choosersShown[0].pattern, "*.marlo");
    EXPECT_EQ (dialogs.choosersShown[0].startFolder, folder.get());
    EXPECT_EQ (target.getSize(), 103);
    EXPECT_EQ (document->getFile(), target);
    EXPECT_EQ (document->getDocumentName(), "Bass Patch");
    EXPECT_EQ (title(), "Orvane Marlo Editor - Bass Patch");

    // Saved once, "Save" writes again without a chooser.
    EXPECT_TRUE (document->save());
    EXPECT_EQ (dialogs.choosersShown.size(), 1u);
}

TEST_F (EditorDocumentTest, SaveOnADeletedFileAsksForANameAgain)
{
    const auto first = folder / "first.marlo";
    dialogs.chooserAnswers.push_back (first);
    ASSERT_TRUE (document->saveAs());
    ASSERT_TRUE (first.deleteFile());

    dialogs.chooserAnswers.push_back (std::nullopt);
    EXPECT_FALSE (document->save());
    EXPECT_EQ (dialogs.choosersShown.size(), 2u);
    EXPECT_FALSE (first.exists());
}

TEST_F (EditorDocumentTest, ACancelledSaveChangesNothing)
{
    dialogs.chooserAnswers.push_back (std::nullopt);
    EXPECT_FALSE (document->saveAs());
    EXPECT_EQ (document->getFile(), juce::File());
    EXPECT_EQ (title(), "Orvane Marlo Editor - Untitled 1");
    EXPECT_EQ (lastDirectory, folder.get());
}

TEST_F (EditorDocumentTest, AFailedWriteIsNotASave)
{
    const auto good = folder / "good.marlo";
    dialogs.chooserAnswers.push_back (good);
    ASSERT_TRUE (document->saveAs());

    // A folder that does not exist cannot take the file.
    const auto unwritable = folder / "missing/sub/bad.marlo";
    dialogs.chooserAnswers.push_back (unwritable);
    EXPECT_FALSE (document->saveAs());

    EXPECT_EQ (dialogs.countAlerts ("File Not Saved"), 1);
    EXPECT_EQ (document->getFile(), good);
    EXPECT_EQ (document->getDocumentName(), "good");
    EXPECT_EQ (title(), "Orvane Marlo Editor - good");

    // The same with "Save" on a file that became a folder (not empty, so it cannot be replaced).
    ASSERT_TRUE (good.deleteFile());
    ASSERT_TRUE (good.getChildFile ("inside").create());
    dialogs.chooserAnswers.push_back (good);
    EXPECT_FALSE (document->save());
    EXPECT_EQ (dialogs.countAlerts ("File Not Saved"), 2);
    EXPECT_EQ (document->getDocumentName(), "good");
}

TEST_F (EditorDocumentTest, SaveThroughAStrangersLinkInASharedFolderIsRefused)
{
    if (!SystemUnderTest::asSuperuser())
        GTEST_SKIP() << "needs the superuser to give a link to another user";
    const auto own = writePresetFile (folder / "own.marlo", 4);
    juce::MemoryBlock before;
    ASSERT_TRUE (own.loadFileAsData (before));
    const auto shared = folder / "shared";
    const auto planted = shared.getChildFile ("evil.marlo");
    ASSERT_TRUE (SystemUnderTest::plantStrangersLink (shared.getFullPathName(), planted.getFullPathName(),
                                                      own.getFullPathName()));

    dialogs.chooserAnswers.push_back (planted);
    EXPECT_FALSE (document->saveAs());

    ASSERT_EQ (dialogs.countAlerts ("File Not Saved"), 1);
    EXPECT_TRUE (dialogs.alertsShown().back().message.contains ("a link in a shared folder"))
        << dialogs.alertsShown().back().message;
    juce::MemoryBlock after;
    ASSERT_TRUE (own.loadFileAsData (after));
    EXPECT_EQ (after, before);
}

TEST_F (EditorDocumentTest, ALoadedFileGivesItsNameAndItsPreset)
{
    const auto file = writePresetFile (folder / "Lead.v2.marlo", 9);
    document->loadFile (file);

    EXPECT_EQ (document->getFile(), file);
    EXPECT_EQ (document->getDocumentName(), "Lead.v2");
    EXPECT_EQ (title(), "Orvane Marlo Editor - Lead.v2");
    EXPECT_EQ (document->getController()->getPresetData()[0], 9);
}

TEST_F (EditorDocumentTest, AFailedLoadLeavesTheDocumentAsItWas)
{
    const auto broken = folder / "broken.marlo";
    broken.replaceWithText ("not a preset");

    document->loadFile (broken);
    document->loadFile (folder / "absent.marlo");

    EXPECT_EQ (document->getFile(), juce::File());
    EXPECT_EQ (title(), "Orvane Marlo Editor - Untitled 1");
    EXPECT_EQ (document->getController()->getPresetData(), factoryPresetData());
    // Both failures are told: a file that is not there as much as one that is broken.
    EXPECT_EQ (dialogs.countAlerts ("Invalid File"), 2);
}

TEST_F (EditorDocumentTest, OpenMovesTheSharedFolderToTheFileTheDocumentHolds)
{
    TemporaryFolder other;
    const auto good = writePresetFile (folder / "good.marlo", 3);
    const auto broken = other / "broken.marlo";
    broken.replaceWithText ("garbage");

    dialogs.chooserAnswers.push_back (good);
    EXPECT_TRUE (document->openWithChooser());
    EXPECT_EQ (dialogs.choosersShown.back().title, "Select Filename to open");
    EXPECT_EQ (document->getFile(), good);
    EXPECT_EQ (lastDirectory, folder.get());

    // A failed load leaves the folder at the document's own file, not at the picked one.
    lastDirectory = juce::File::getSpecialLocation (juce::File::userHomeDirectory);
    dialogs.chooserAnswers.push_back (broken);
    EXPECT_TRUE (document->openWithChooser());
    EXPECT_EQ (dialogs.choosersShown.back().startFolder,
               juce::File::getSpecialLocation (juce::File::userHomeDirectory));
    EXPECT_EQ (document->getFile(), good);
    EXPECT_EQ (lastDirectory, folder.get());

    dialogs.chooserAnswers.push_back (std::nullopt);
    EXPECT_FALSE (document->openWithChooser());
}

TEST_F (EditorDocumentTest, AFailedLoadInAnUntitledDocumentKeepsTheSharedFolder)
{
    TemporaryFolder other;
    const auto broken = other / "broken.marlo";
    broken.replaceWithText ("garbage");

    dialogs.chooserAnswers.push_back (broken);
    document->openWithChooser();

    EXPECT_EQ (lastDirectory, folder.get());
}

TEST_F (EditorDocumentTest, ControllerMessagesRunTheChoosers)
{
    dialogs.chooserAnswers.push_back (std::nullopt);
    document->actionListenerCallback ("Open");
    dialogs.chooserAnswers.push_back (std::nullopt);
    document->actionListenerCallback ("Save As");
    dialogs.chooserAnswers.push_back (std::nullopt);
    document->actionListenerCallback ("Save");
    document->actionListenerCallback ("Something else");

    ASSERT_EQ (dialogs.choosersShown.size(), 3u);
    EXPECT_EQ (dialogs.choosersShown[0].title, "Select Filename to open");
    EXPECT_EQ (dialogs.choosersShown[1].title, "Select Filename to save");
    EXPECT_EQ (dialogs.choosersShown[2].title, "Select Filename to save");
}

TEST_F (EditorDocumentTest, CloseAsksEveryListenerNewestFirstAndSurvivesBeingDeleted)
{
    CountingListener counting;
    DeletingListener deleting (document);
    document->addWindowCloseListener (&deleting);
    document->addWindowCloseListener (&counting);
    document->addWindowCloseListener (&counting);
    document->addWindowCloseListener (nullptr);

    // The newest listener goes first; the older one deletes the document.
    document->closeButtonPressed();
    EXPECT_EQ (counting.calls, 1);
    EXPECT_EQ (deleting.calls, 1);
    EXPECT_EQ (document, nullptr);
}

TEST_F (EditorDocumentTest, CloseWindowCommandReachesTheListeners)
{
    CountingListener counting;
    document->addWindowCloseListener (&counting);

    EXPECT_TRUE (
        document->perform (juce::ApplicationCommandTarget::InvocationInfo (CommandIDs::closeWindow)));
    EXPECT_EQ (counting.calls, 1);
}

TEST_F (EditorDocumentTest, OffersTheDocumentCommandsInOrderWithTheirKeys)
{
    juce::Array<juce::CommandID> commands;
    document->getAllCommands (commands);
    EXPECT_EQ (commands, juce::Array<juce::CommandID> (
                             {0x200040, 0x200050, 0x200070, 0x200080, 0x200030, 0x200210, 0x200220,
                              0x200610, 0x200620, 0x200630, 0x200640, 0x200650, 0x200660, 0x200670,
                              0x200710, 0x200720, 0x200810, 0x200820, 0x200830, 0x200058, 0x200088}));

    struct Expected
    {
        juce::CommandID id;
        const char* name;
        int key;
    };
    const Expected expected[] = {{0x200040, "Save", 's'},
                                 {0x200050, "Save As", 0},
                                 {0x200070, "Get Preset", 0},
                                 {0x200080, "Send Preset", 0},
                                 {0x200058, "Export SysEx\u2026", 0},
                                 {0x200088, "Compare with Controller", 0},
                                 {0x200030, "Close Window", 'w'}};

    for (const auto& row : expected)
    {
        juce::ApplicationCommandInfo info (row.id);
        document->getCommandInfo (row.id, info);
        EXPECT_EQ (info.shortName, juce::String (juce::CharPointer_UTF8 (row.name)));
        EXPECT_EQ (info.categoryName, "General");
        EXPECT_TRUE (info.description.isEmpty());
        EXPECT_EQ (info.flags, 0);

        if (row.key == 0)
        {
            EXPECT_TRUE (info.defaultKeypresses.isEmpty()) << row.name;
        }
        else
        {
            ASSERT_EQ (info.defaultKeypresses.size(), 1) << row.name;
            EXPECT_EQ (info.defaultKeypresses[0],
                       juce::KeyPress (row.key, juce::ModifierKeys::commandModifier, 0));
        }
    }

    // The zoom keys: the first is what the View menu shows.
    const auto command = juce::ModifierKeys::commandModifier;
    const std::pair<juce::CommandID, juce::Array<juce::KeyPress>> zoomKeys[] = {
        {CommandIDs::zoomIn,
         {juce::KeyPress ('=', command, 0), juce::KeyPress ('+', command, 0),
          juce::KeyPress ('+', command | juce::ModifierKeys::shiftModifier, 0),
          juce::KeyPress (juce::KeyPress::numberPadAdd, command, 0)}},
        {CommandIDs::zoomOut,
         {juce::KeyPress ('-', command, 0), juce::KeyPress (juce::KeyPress::numberPadSubtract, command, 0)}},
        {CommandIDs::actualSize, {juce::KeyPress ('0', command, 0)}}};
    for (const auto& [id, keys] : zoomKeys)
    {
        juce::ApplicationCommandInfo info (id);
        document->getCommandInfo (id, info);
        EXPECT_EQ (info.defaultKeypresses, keys) << info.shortName;
    }

    // An application command is not the document's: its info stays untouched.
    juce::ApplicationCommandInfo untouched (CommandIDs::newWindow);
    document->getCommandInfo (CommandIDs::newWindow, untouched);
    EXPECT_TRUE (untouched.shortName.isEmpty());
    EXPECT_TRUE (document->perform (juce::ApplicationCommandTarget::InvocationInfo (0x123456)));
    EXPECT_EQ (document->getNextCommandTarget(), nullptr);
}

TEST_F (EditorDocumentTest, EditKeysTakeNoKeyOfTheOtherCommands)
{
    const juce::ModifierKeys command (juce::ModifierKeys::commandModifier);
    const auto keysOf = [this] (juce::CommandID id)
    {
        juce::ApplicationCommandInfo info (id);
        document->getCommandInfo (id, info);
        return info.defaultKeypresses;
    };
    EXPECT_EQ (keysOf (CommandIDs::undo), juce::Array<juce::KeyPress> (juce::KeyPress ('z', command, 0)));
    EXPECT_EQ (keysOf (CommandIDs::redo),
               juce::Array<juce::KeyPress> (
                   juce::KeyPress ('z', command.withFlags (juce::ModifierKeys::shiftModifier), 0),
                   juce::KeyPress ('y', command, 0)));
    EXPECT_EQ (keysOf (CommandIDs::previousBank),
               juce::Array<juce::KeyPress> (juce::KeyPress (juce::KeyPress::leftKey, command, 0)));
    EXPECT_EQ (keysOf (CommandIDs::nextBank),
               juce::Array<juce::KeyPress> (juce::KeyPress (juce::KeyPress::rightKey, command, 0)));

    juce::Array<juce::KeyPress> taken;
    for (int page = 0; page < CommandIDs::pageCount; ++page)
    {
        const auto keys = keysOf (CommandIDs::showPage (page));
        ASSERT_EQ (keys, juce::Array<juce::KeyPress> (juce::KeyPress ('1' + page, command, 0)));
        taken.addArray (keys);
    }
    taken.addArray (keysOf (CommandIDs::undo));
    taken.addArray (keysOf (CommandIDs::redo));
    for (auto id : {CommandIDs::newWindow, CommandIDs::open, CommandIDs::closeWindow,
                    CommandIDs::saveDocument, CommandIDs::saveDocumentAs, CommandIDs::quit,
                    CommandIDs::getPreset, CommandIDs::sendPreset, CommandIDs::about, CommandIDs::deviceSetup,
                    CommandIDs::minimize, CommandIDs::bringAllToFront, CommandIDs::openUserGuide})
    {
        const auto* row = findCommandDescription (id);
        ASSERT_NE (row, nullptr);
        if (row->keyLetter != 0)
        {
            EXPECT_FALSE (taken.contains (juce::KeyPress (row->keyLetter, command, 0))) << row->name;
        }
    }
}

TEST_F (EditorDocumentTest, UndoIsInactiveUntilThereIsAStepAndTheCommandsDoTheirWork)
{
    const auto isActive = [this] (juce::CommandID id)
    {
        juce::ApplicationCommandInfo info (id);
        document->getCommandInfo (id, info);
        return (info.flags & juce::ApplicationCommandInfo::isDisabled) == 0;
    };
    EXPECT_FALSE (isActive (CommandIDs::undo)) << "the starting preset is no step";
    EXPECT_FALSE (isActive (CommandIDs::redo));

    const auto file = writePresetFile (folder / "Other.marlo",
                                       static_cast<juce::uint8> ((factoryPresetData()[0] + 1) % 25));
    juce::MemoryBlock written;
    ASSERT_TRUE (file.loadFileAsData (written));
    document->loadFile (file);
    ASSERT_NE (document->getController()->getPresetData(), factoryPresetData());
    EXPECT_TRUE (isActive (CommandIDs::undo));

    document->perform (juce::ApplicationCommandTarget::InvocationInfo (CommandIDs::undo));
    EXPECT_EQ (document->getController()->getPresetData(), factoryPresetData());
    EXPECT_TRUE (isActive (CommandIDs::redo));
    juce::MemoryBlock afterUndo;
    ASSERT_TRUE (file.loadFileAsData (afterUndo));
    EXPECT_EQ (afterUndo, written) << "undo leaves the file alone";
    EXPECT_TRUE (dialogs.alertsShown().empty());

    document->perform (juce::ApplicationCommandTarget::InvocationInfo (CommandIDs::showPage (6)));
    // The pages are kept in the order of their buttons' addresses, so a page is found by its tab.
    const auto& editor = *document->getEditor();
    auto* sustainPage =
        editor.getViewFor (dynamic_cast<juce::Button*> (editor.getTabSelector().getButtons()[6]));
    ASSERT_NE (sustainPage, nullptr);
    EXPECT_TRUE (sustainPage->isVisible());
}

TEST_F (EditorDocumentTest, GetAndSendPresetWithoutADeviceAreReported)
{
    document->perform (juce::ApplicationCommandTarget::InvocationInfo (CommandIDs::getPreset));
    document->perform (juce::ApplicationCommandTarget::InvocationInfo (CommandIDs::sendPreset));
    runMessageLoopFor (20);

    EXPECT_EQ (dialogs.countAlerts ("No MIDI Device selected."), 2);
}

TEST_F (EditorDocumentTest, GetPresetFetchesFromTheSimulatedDevice)
{
    midi.setOutputDevice (SimulatedMarlo::deviceName);
    midi.setInputDevice (SimulatedMarlo::deviceName);
    ASSERT_TRUE (midi.isInputOpen() && midi.isOutputOpen());

    document->perform (juce::ApplicationCommandTarget::InvocationInfo (CommandIDs::getPreset));
    EXPECT_TRUE (runMessageLoopUntil ([this] { return dialogs.countAlerts ("MIDI Get Sucess") == 1; }));
}

TEST_F (EditorDocumentTest, TheMenuBarAddsToTheWindowAndTakesNothingFromTheEditor)
{
    struct EmptyMenu final : public juce::MenuBarModel
    {
        juce::StringArray getMenuBarNames() override { return {"File"}; }
        juce::PopupMenu getMenuForIndex (int, const juce::String&) override { return {}; }
        void menuItemSelected (int, int) override {}
    } menu;

    const auto heightBefore = document->getHeight();
    document->showMenuBar (&menu);
    EXPECT_EQ (document->getEditor()->getWidth(), 1200);
    EXPECT_EQ (document->getEditor()->getHeight(), 700);
    EXPECT_GT (document->getHeight(), heightBefore);
    document->showMenuBar (nullptr);
}

TEST_F (EditorDocumentTest, TheSaveChooserProposesTheDocumentsNameAndAddsAMissingExtension)
{
    dialogs.chooserAnswers.push_back (folder / "Bass Patch");
    ASSERT_TRUE (document->saveAs());

    ASSERT_EQ (dialogs.proposedNames.size(), 1u);
    EXPECT_EQ (dialogs.proposedNames[0], "Untitled 1.marlo");
    EXPECT_EQ (document->getFile(), folder / "Bass Patch.marlo");
    EXPECT_TRUE ((folder / "Bass Patch.marlo").existsAsFile());
    EXPECT_FALSE ((folder / "Bass Patch").exists());
    EXPECT_EQ (title(), "Orvane Marlo Editor - Bass Patch");

    // The next save proposes the name the document has now; a typed extension stays as it is.
    dialogs.chooserAnswers.push_back (folder / "Lead.syx");
    ASSERT_TRUE (document->saveAs());
    EXPECT_EQ (dialogs.proposedNames[1], "Bass Patch.marlo");
    EXPECT_EQ (document->getFile(), folder / "Lead.syx");
}

TEST_F (EditorDocumentTest, ALongNameSavesAndAFailedSaveGivesTheSystemsReason)
{
    // 245 characters and ".marlo": as long as the file system allows.
    const auto longName = juce::String::repeatedString ("n", 245) + ".marlo";
    dialogs.chooserAnswers.push_back (folder / longName);
    EXPECT_TRUE (document->saveAs());
    EXPECT_EQ ((folder / longName).getSize(), 103);
    EXPECT_EQ (dialogs.countAlerts ("File Not Saved"), 0);
    // The replaced file keeps its permissions, and nothing is left beside it.
    const auto path = (folder / longName).getFullPathName();
    ASSERT_TRUE (SystemUnderTest::setMode (path, 0640) || !SystemUnderTest::hasModes());
    EXPECT_TRUE (document->save());
    if (SystemUnderTest::hasModes())
    {
        EXPECT_EQ (SystemUnderTest::modeOf (path), 0640u);
    }
    EXPECT_EQ (folder.get().getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 1);

    dialogs.chooserAnswers.push_back (folder / "missing/Lead.marlo");
    EXPECT_FALSE (document->saveAs());
    const auto alerts = dialogs.alertsShown();
    ASSERT_EQ (alerts.size(), 1u);
    EXPECT_EQ (alerts[0].title, "File Not Saved");
    EXPECT_TRUE (alerts[0].message.endsWith (SystemUnderTest::missingFileReason())) << alerts[0].message;
}

TEST_F (EditorDocumentTest, UndoAndRedoOfALoadGiveBackTheFileAndNameWithTheValues)
{
    typeAndCommit (boxOnPage (*document->getEditor(), 1, "Knob 2 CC"), "88");
    const auto edited = document->getController()->getPresetData();
    const auto factory = writePresetFile (folder / "factory.marlo", 3);

    document->loadFile (factory);
    ASSERT_EQ (title(), "Orvane Marlo Editor - factory");

    ASSERT_TRUE (document->getController()->undo());
    EXPECT_EQ (document->getController()->getPresetData(), edited);
    EXPECT_EQ (title(), "Orvane Marlo Editor - Untitled 1");
    EXPECT_EQ (document->getFile(), juce::File());

    // Saving now asks for a name instead of writing the old values into the loaded file.
    juce::MemoryBlock before;
    ASSERT_TRUE (factory.loadFileAsData (before));
    EXPECT_FALSE (document->save());
    EXPECT_EQ (dialogs.choosersShown.size(), 1u);
    juce::MemoryBlock after;
    ASSERT_TRUE (factory.loadFileAsData (after));
    EXPECT_EQ (after, before);

    ASSERT_TRUE (document->getController()->redo());
    EXPECT_EQ (title(), "Orvane Marlo Editor - factory");
    EXPECT_EQ (document->getFile(), factory);
}

TEST_F (EditorDocumentTest, UndoingAnEditMadeBeforeASaveUnderANewNameKeepsTheNewFile)
{
    typeAndCommit (boxOnPage (*document->getEditor(), 1, "Knob 2 CC"), "88");
    const auto saved = folder / "Mine.marlo";
    dialogs.chooserAnswers.push_back (saved);
    ASSERT_TRUE (document->saveAs());

    ASSERT_TRUE (document->getController()->undo());
    EXPECT_EQ (document->getFile(), saved);
    EXPECT_EQ (title(), "Orvane Marlo Editor - Mine");
}

TEST_F (EditorDocumentTest, AnotherProgramsSysExIsNeverRewrittenSaveProposesAMarloBesideIt)
{
    using namespace SysExBytes;
    TemporaryFolder elsewhere;
    auto image = factoryPresetData();
    image.set (0, 3);
    const auto syx = elsewhere / "Captured.syx";
    const auto captured = join ({identityReply, presetMessage (image, replyCommand)});
    ASSERT_TRUE (syx.replaceWithData (captured.data(), captured.size()));

    dialogs.chooserAnswers.push_back (syx);
    ASSERT_TRUE (document->openWithChooser());
    EXPECT_EQ (dialogs.choosersShown.back().pattern, "*.marlo;*.syx");
    EXPECT_EQ (document->getFile(), syx);
    EXPECT_EQ (title(), "Orvane Marlo Editor - Captured");
    EXPECT_EQ (document->getController()->getPresetData(), image);
    EXPECT_TRUE (document->isForeign());

    // Undo and redo of the load give back the mark with the file.
    ASSERT_TRUE (document->getController()->undo());
    EXPECT_FALSE (document->isForeign());
    ASSERT_TRUE (document->getController()->redo());
    EXPECT_EQ (document->getFile(), syx);
    EXPECT_TRUE (document->isForeign());

    typeAndCommit (boxOnPage (*document->getEditor(), 1, "Knob 2 CC"), "88");
    lastDirectory = folder.get();
    const auto target = elsewhere / "Captured.marlo";
    dialogs.chooserAnswers.push_back (target);
    ASSERT_TRUE (document->save());
    EXPECT_EQ (dialogs.choosersShown.back().title, "Select Filename to save");
    EXPECT_EQ (dialogs.choosersShown.back().startFolder, elsewhere.get());
    EXPECT_EQ (dialogs.proposedNames.back(), "Captured.marlo");

    juce::MemoryBlock syxNow;
    ASSERT_TRUE (syx.loadFileAsData (syxNow));
    EXPECT_EQ (syxNow, juce::MemoryBlock (captured.data(), captured.size()));
    PresetCodec::Image saved;
    ASSERT_TRUE (PresetFile::read (target, saved).wasOk());
    EXPECT_EQ (saved, document->getController()->getPresetData());
    EXPECT_EQ (document->getFile(), target);
    EXPECT_FALSE (document->isForeign());

    // Its own file now, Save writes it without asking.
    const auto choosers = dialogs.choosersShown.size();
    EXPECT_TRUE (document->save());
    EXPECT_EQ (dialogs.choosersShown.size(), choosers);
}
