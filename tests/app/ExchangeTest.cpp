#include <gtest/gtest.h>

#include "AppTestSupport.h"

#include "app/CommandIDs.h"
#include "app/EditorDocument.h"
#include "editor/EditorTestSupport.h"
#include "editor/MainView.h"
#include "editor/NumberBox.h"
#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"
#include "support/SystemUnderTest.h"

namespace
{
class ExchangeTest : public ::testing::Test
{
protected:
    void connect()
    {
        midi.setInputDevice (SimulatedMarlo::deviceName);
        midi.setOutputDevice (SimulatedMarlo::deviceName);
        ASSERT_TRUE (midi.isInputOpen() && midi.isOutputOpen());
    }

    void invoke (EditorDocument& target, juce::CommandID id)
    {
        target.perform (juce::ApplicationCommandTarget::InvocationInfo (id));
    }

    static juce::MemoryBlock contentOf (const juce::File& file)
    {
        juce::MemoryBlock block;
        EXPECT_TRUE (file.loadFileAsData (block));
        return block;
    }

    /** The message as the controller receives a dump: F0, the dump header, the preset, F7. */
    static juce::MemoryBlock dumpCarrying (const juce::Array<juce::uint8>& preset)
    {
        auto data = createDumpHeader();
        data.addArray (preset);
        const auto message = juce::MidiMessage::createSysExMessage (data.getRawDataPointer(), data.size());
        return {message.getRawData(), static_cast<size_t> (message.getRawDataSize())};
    }

    TemporaryFolder folder;
    RecordingDialogs dialogs;
    juce::File lastDirectory = folder.get();
    SimulatedMarlo* marlo = new SimulatedMarlo(); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    std::unique_ptr<EditorDocument> document = createEditorDocument (midi, "Untitled 1", &lastDirectory);
};
} // namespace

TEST_F (ExchangeTest, ExportWritesExactlyTheDumpASendEmitsAndLeavesTheDocumentsFile)
{
    typeAndCommit (boxOnPage (*document->getEditor(), 1, "Knob 2 CC"), "88");
    const auto image = document->getController()->getPresetData();

    dialogs.chooserAnswers.push_back (folder / "Exported");
    invoke (*document, CommandIDs::exportSysEx);

    ASSERT_EQ (dialogs.choosersShown.size(), 1u);
    EXPECT_EQ (dialogs.choosersShown[0].pattern, "*.syx");
    EXPECT_EQ (dialogs.choosersShown[0].startFolder, folder.get());
    EXPECT_EQ (dialogs.proposedNames[0], "Untitled 1.syx");
    // A name typed without an extension gets the system-exclusive one.
    const auto exported = folder / "Exported.syx";
    ASSERT_TRUE (exported.existsAsFile());
    EXPECT_EQ (document->getFile(), juce::File());
    EXPECT_EQ (document->getName(), "Orvane Marlo Editor - Untitled 1");

    // The same bytes the simulated controller takes from a send.
    connect();
    invoke (*document, CommandIDs::sendPreset);
    EXPECT_EQ (marlo->getDumpCount(), 1);
    EXPECT_EQ (marlo->getPreset(), image);
    EXPECT_EQ (contentOf (exported), dumpCarrying (marlo->getPreset()));
    EXPECT_EQ (contentOf (exported).getSize(), 103u);
    EXPECT_TRUE (dialogs.alertsShown().empty());
}

TEST_F (ExchangeTest, ExportProposesTheDocumentsFolderAndKeepsItsFileAndTitle)
{
    const auto saved = writePresetFile (folder / "Bass.marlo", 4);
    document->loadFile (saved);
    const auto savedContent = contentOf (saved);
    lastDirectory = juce::File::getSpecialLocation (juce::File::tempDirectory);

    auto elsewhere = folder / "elsewhere";
    ASSERT_TRUE (elsewhere.createDirectory());
    dialogs.chooserAnswers.push_back (elsewhere.getChildFile ("Bass.syx"));
    ASSERT_TRUE (document->exportSysEx());

    EXPECT_EQ (dialogs.choosersShown[0].startFolder, folder.get());
    EXPECT_EQ (dialogs.proposedNames[0], "Bass.syx");
    EXPECT_EQ (contentOf (elsewhere.getChildFile ("Bass.syx")), savedContent);
    EXPECT_EQ (document->getFile(), saved);
    EXPECT_EQ (document->getName(), "Orvane Marlo Editor - Bass");
    EXPECT_EQ (lastDirectory, elsewhere);

    // Cancelled: nothing written.
    EXPECT_FALSE (document->exportSysEx());
    EXPECT_EQ (elsewhere.getNumberOfChildFiles (juce::File::findFiles), 1);

    // A file that may not be written is refused with the reason, and stays as it was.
    const auto locked = (folder / "Locked.syx");
    ASSERT_TRUE (locked.replaceWithText ("kept"));
    ASSERT_TRUE (SystemUnderTest::makeReadOnly (locked.getFullPathName()));
    dialogs.chooserAnswers.push_back (locked);
    EXPECT_FALSE (document->exportSysEx());
    EXPECT_EQ (dialogs.countAlerts ("File Not Saved"), 1);
    EXPECT_EQ (locked.loadFileAsString(), "kept");
    EXPECT_EQ (document->getFile(), saved);
}

TEST_F (ExchangeTest, CompareListsEachDifferingShownValueAndTouchesNothing)
{
    auto controllerPreset = factoryPresetData();
    controllerPreset.set (2, 9);   // Keybed MIDI Channel, shown 10
    controllerPreset.set (24, 77); // Knob 3 CC
    marlo->setPreset (controllerPreset);
    connect();
    const auto before = document->getController()->getPresetData();

    invoke (*document, CommandIDs::compareWithController);
    ASSERT_TRUE (runMessageLoopUntil ([this] { return document->getCompareWindow() != nullptr; }, 3000));

    auto* window = document->getCompareWindow();
    const auto lines = juce::StringArray::fromLines (window->getCompareComponent().getListText());
    juce::StringArray expected;
    expected.add ("Keybed MIDI Channel: editor " + juce::String (before[2] + 1) + ", controller 10");
    expected.add ("Knob 3 CC: editor " + juce::String (before[24]) + ", controller 77");
    EXPECT_EQ (lines, expected);
    EXPECT_EQ (document->getController()->getPresetData(), before);
    EXPECT_FALSE (document->getController()->canUndo());
    EXPECT_TRUE (document->isUntouched());
    EXPECT_TRUE (dialogs.alertsShown().empty());
    EXPECT_EQ (window->getName(), "Compare with Controller - Untitled 1");

    // At most one per document: a second compare shows its result in the same window.
    marlo->setPreset (before);
    invoke (*document, CommandIDs::compareWithController);
    ASSERT_TRUE (runMessageLoopUntil (
        [&] { return window->getCompareComponent().getListText() == CompareComponent::sameText; }, 3000));
    EXPECT_EQ (document->getCompareWindow(), window);
}

TEST_F (ExchangeTest, TheCompareWindowFitsTheScreenTakesTheKeyboardAndEscapeClosesIt)
{
    connect();
    document->addToDesktop (document->getDesktopWindowStyleFlags());
    invoke (*document, CommandIDs::compareWithController);
    ASSERT_TRUE (runMessageLoopUntil ([this] { return document->getCompareWindow() != nullptr; }, 3000));
    auto* window = document->getCompareWindow();

    const auto* display =
        juce::Desktop::getInstance().getDisplays().getDisplayForRect (window->getScreenBounds());
    ASSERT_NE (display, nullptr);
    EXPECT_TRUE (display->userArea.contains (window->getScreenBounds()));
    EXPECT_LE (window->getZoom(), 100);

    ASSERT_TRUE (activate (*window));
    auto& compare = window->getCompareComponent();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return compare.getList().hasKeyboardFocus (false); }, 3000));

    // Tab goes from the list to the button; Escape closes the window.
    auto* peer = window->getPeer();
    ASSERT_NE (peer, nullptr);
    peer->handleKeyPress (juce::KeyPress (juce::KeyPress::tabKey));
    EXPECT_TRUE (compare.getCloseButton().hasKeyboardFocus (false));
    peer->handleKeyPress (juce::KeyPress (juce::KeyPress::escapeKey));
    EXPECT_TRUE (runMessageLoopUntil ([this] { return document->getCompareWindow() == nullptr; }, 3000));

    // The button closes it as well.
    invoke (*document, CommandIDs::compareWithController);
    ASSERT_TRUE (runMessageLoopUntil ([this] { return document->getCompareWindow() != nullptr; }, 3000));
    document->getCompareWindow()->getCompareComponent().getCloseButton().triggerClick();
    EXPECT_TRUE (runMessageLoopUntil ([this] { return document->getCompareWindow() == nullptr; }, 3000));
}

TEST_F (ExchangeTest, ACompareWithoutADeviceIsReportedAndOpensNoWindow)
{
    invoke (*document, CommandIDs::compareWithController);
    runMessageLoopFor (20);
    EXPECT_EQ (dialogs.countAlerts ("No MIDI Device selected."), 1);
    EXPECT_EQ (document->getCompareWindow(), nullptr);
}

TEST_F (ExchangeTest, ASendIsShownOnTheMainPageAndNotInAnAlert)
{
    MainView* mainView = nullptr;
    for (auto* view : document->getEditor()->getViews())
        if (auto* page = dynamic_cast<MainView*> (view))
            mainView = page;
    ASSERT_NE (mainView, nullptr);
    auto& note = mainView->getSentNote();
    const juce::Time sentAt (2026, 11, 7, 9, 5, 1);
    note.setClock ([sentAt] { return sentAt; });

    invoke (*document, CommandIDs::sendPreset);
    EXPECT_FALSE (note.isVisible());

    connect();
    invoke (*document, CommandIDs::sendPreset);
    EXPECT_TRUE (note.isVisible());
    EXPECT_EQ (note.getText(), "Sent to " + juce::String (SimulatedMarlo::deviceName) + " at 09:05:01");
    EXPECT_EQ (dialogs.alertsShown().size(), 1u); // the one without a device
}

TEST_F (ExchangeTest, AVerifiedSendSaysSoAndADifferenceOpensTheCompareWindowLeavingTheDocument)
{
    PresetSender sender (midi);
    sender.setVerifying (true);
    auto checked = createEditorDocument (midi, "Untitled 2", &lastDirectory, &sender);
    MainView* mainView = nullptr;
    for (auto* view : checked->getEditor()->getViews())
        if (auto* page = dynamic_cast<MainView*> (view))
            mainView = page;
    ASSERT_NE (mainView, nullptr);
    auto& note = mainView->getSentNote();
    connect();

    typeAndCommit (boxOnPage (*checked->getEditor(), 1, "Knob 2 CC"), "88");
    invoke (*checked, CommandIDs::sendPreset);
    ASSERT_TRUE (runMessageLoopUntil ([&note] { return note.getText().endsWith (" verified"); }));
    EXPECT_TRUE (note.getText().startsWith ("Sent to " + juce::String (SimulatedMarlo::deviceName) + " at "));
    EXPECT_EQ (checked->getCompareWindow(), nullptr);

    // The controller gives back something else than it was sent.
    marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
    typeAndCommit (boxOnPage (*checked->getEditor(), 1, "Knob 2 CC"), "90");
    const auto image = checked->getController()->getPresetData();
    invoke (*checked, CommandIDs::sendPreset);
    auto reply = createReplyHeader();
    reply.addArray (factoryPresetData());
    midi.handleIncomingMidiMessage (
        nullptr, juce::MidiMessage::createSysExMessage (reply.getRawDataPointer(), reply.size()));
    ASSERT_TRUE (runMessageLoopUntil ([&checked] { return checked->getCompareWindow() != nullptr; }));
    EXPECT_TRUE (checked->getCompareWindow()->getCompareComponent().getListText().contains (
        "Knob 2 CC: editor 90, controller"));
    EXPECT_FALSE (note.getText().endsWith (" verified"));
    EXPECT_EQ (checked->getController()->getPresetData(), image);
    EXPECT_TRUE (dialogs.alertsShown().empty());
}
