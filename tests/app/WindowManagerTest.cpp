#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "support/SysExBytes.h"

#include "app/WindowManager.h"
#include "editor/EditorTestSupport.h"
#include "editor/NumberBox.h"

namespace
{
class WindowManagerTest : public ::testing::Test
{
protected:
    void openDocuments (int count)
    {
        for (int i = 0; i < count; ++i)
            windows->newDocument();
    }

    juce::StringArray openNames() const
    {
        juce::StringArray names;
        for (int i = 0; i < windows->getNumDocuments(); ++i)
            names.add (windows->getDocument (i)->getDocumentName());
        return names;
    }

    juce::StringArray questionsAsked() const
    {
        juce::StringArray asked;
        for (const auto& question : dialogs.questions)
        {
            EXPECT_EQ (question.title, "Save Document");
            asked.add (question.message);
        }
        return asked;
    }

    TemporaryFolder folder;
    RecordingDialogs dialogs;
    juce::File lastDirectory = folder.get();
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    juce::ApplicationCommandManager commands;
    std::unique_ptr<WindowManager> windows =
        std::make_unique<WindowManager> (&midi, &commands, &lastDirectory);
};

using Answer = Dialogs::SaveAnswer;
} // namespace

TEST_F (WindowManagerTest, NamesAreNeverReusedAndWindowsCascadeInsideTheScreenByDocumentsEverMade)
{
    const auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay();
    ASSERT_NE (display, nullptr);
    const auto insideScreen = [display] (const EditorDocument& document)
    {
        // Until the window manager has framed it, a window is where its frame will be; after, it
        // lies inside the frame. Either way there is room below and right for a frame.
        // Once the frame is known, the whole of it, title bar and all, is inside too.
        const auto bounds = document.getScreenBounds();
        const auto& area = display->userArea;
        const auto* peer = document.getPeer();
        const auto frame =
            peer != nullptr ? peer->getFrameSizeIfPresent() : juce::ComponentPeer::OptionalBorderSize{};
        const auto framed = frame ? frame->addedTo (bounds) : bounds;
        return document.getZoom() == 100 && framed.getX() >= area.getX() && framed.getY() >= area.getY() &&
               bounds.getRight() + 4 <= area.getRight() && bounds.getBottom() + 32 <= area.getBottom();
    };

    openDocuments (3);
    EXPECT_EQ (openNames(), juce::StringArray ({"Untitled 1", "Untitled 2", "Untitled 3"}));

    for (int i = 0; i < 3; ++i)
    {
        auto* document = windows->getDocument (i);
        EXPECT_TRUE (insideScreen (*document)) << document->getScreenBounds().toString();
        EXPECT_TRUE (document->isOnDesktop());
        EXPECT_TRUE (document->isVisible());

        if (i > 0)
        {
            // Down and to the right of the one before.
            const auto step = document->getPosition() - windows->getDocument (i - 1)->getPosition();
            EXPECT_GT (step.x, 0);
            EXPECT_GT (step.y, 0);
        }
    }

    const auto third = windows->getDocument (2)->getPosition();
    dialogs.saveAnswers.push_back (Answer::no);
    windows->windowCloseRequested (windows->getDocument (1));
    ASSERT_EQ (openNames(), juce::StringArray ({"Untitled 1", "Untitled 3"}));

    windows->newDocument();
    auto* fourth = windows->getDocument (2);
    EXPECT_EQ (fourth->getDocumentName(), "Untitled 4");
    EXPECT_EQ (fourth->getName(), "Orvane Marlo Editor - Untitled 4");
    // Placed by the documents ever made: beyond the third, not where the closed second was.
    EXPECT_GT (fourth->getX(), third.x);
    EXPECT_GT (fourth->getY(), third.y);
    EXPECT_TRUE (insideScreen (*fourth)) << fourth->getScreenBounds().toString();
}

TEST_F (WindowManagerTest, TheSixthDocumentIsRefusedWithTheLimitAlert)
{
    openDocuments (5);
    EXPECT_FALSE (windows->canOpenAnotherDocument());
    EXPECT_TRUE (dialogs.alertsShown().empty());

    windows->newDocument();
    dialogs.dismissAlert ("Maxiumum Number of Open Documents Reached");
    windows->openFile (writePresetFile (folder / "extra.marlo", 4));

    EXPECT_EQ (windows->getNumDocuments(), 5);
    ASSERT_EQ (dialogs.countAlerts ("Maxiumum Number of Open Documents Reached"), 2);
    EXPECT_EQ (dialogs.alertsShown()[0].message, "You may only have 5 documents open.");

    // A crowd of launches while the alert shows adds to its text; it never stacks another. (The
    // first goes into the untouched active document.)
    for (int i = 0; i < 45; ++i)
        windows->openFileInActiveDocument (
            writePresetFile (folder / ("crowd" + juce::String (i) + ".marlo"), 5));
    EXPECT_EQ (dialogs.countAlerts ("Maxiumum Number of Open Documents Reached"), 2);
    EXPECT_EQ (dialogs.alertsShown().back().message,
               "You may only have 5 documents open.\r\n44 more files were not opened.");
    dialogs.dismissAlert ("Maxiumum Number of Open Documents Reached");

    // Refused documents do not use up a number.
    dialogs.saveAnswers.push_back (Answer::no);
    windows->windowCloseRequested (windows->getDocument (4));
    windows->newDocument();
    EXPECT_EQ (windows->getDocument (4)->getDocumentName(), "Untitled 6");
}

TEST_F (WindowManagerTest, TheSaveQuestionIsAskedOnEveryCloseAndItsAnswerIsFollowed)
{
    openDocuments (2);
    auto* second = windows->getDocument (1);

    // Cancel keeps the document.
    dialogs.saveAnswers.push_back (Answer::cancel);
    windows->windowCloseRequested (second);
    EXPECT_EQ (windows->getNumDocuments(), 2);
    EXPECT_EQ (questionsAsked(), juce::StringArray ({"Would you like to save: Untitled 2"}));

    // Yes with a cancelled chooser keeps it too.
    dialogs.saveAnswers.push_back (Answer::yes);
    dialogs.chooserAnswers.push_back (std::nullopt);
    windows->windowCloseRequested (second);
    EXPECT_EQ (windows->getNumDocuments(), 2);

    // Yes with a failed write keeps it: nothing is lost.
    dialogs.saveAnswers.push_back (Answer::yes);
    dialogs.chooserAnswers.push_back (folder / "no/such/folder/x.marlo");
    windows->windowCloseRequested (second);
    EXPECT_EQ (windows->getNumDocuments(), 2);
    EXPECT_EQ (dialogs.countAlerts ("File Not Saved"), 1);

    // Yes with a good file saves, then closes.
    const auto target = folder / "kept.marlo";
    dialogs.saveAnswers.push_back (Answer::yes);
    dialogs.chooserAnswers.push_back (target);
    windows->windowCloseRequested (second);
    EXPECT_EQ (openNames(), juce::StringArray ({"Untitled 1"}));
    EXPECT_EQ (target.getSize(), 103);

    // No closes without writing.
    dialogs.saveAnswers.push_back (Answer::no);
    windows->windowCloseRequested (windows->getDocument (0));
    EXPECT_EQ (windows->getNumDocuments(), 0);
    EXPECT_EQ (dialogs.questions.size(), 5u);
    EXPECT_EQ (folder.get().getNumberOfChildFiles (juce::File::findFiles), 1);
}

TEST_F (WindowManagerTest, QuittingClosesNewestFirstAndStopsAtCancel)
{
    openDocuments (3);

    dialogs.saveAnswers = {Answer::no, Answer::cancel};
    EXPECT_FALSE (windows->closeAllDocuments());
    EXPECT_EQ (questionsAsked(), juce::StringArray ({"Would you like to save: Untitled 3",
                                                     "Would you like to save: Untitled 2"}));
    EXPECT_EQ (openNames(), juce::StringArray ({"Untitled 1", "Untitled 2"}));

    dialogs.questions.clear();
    dialogs.saveAnswers = {Answer::no, Answer::no};
    EXPECT_TRUE (windows->closeAllDocuments());
    EXPECT_EQ (questionsAsked(), juce::StringArray ({"Would you like to save: Untitled 2",
                                                     "Would you like to save: Untitled 1"}));
    EXPECT_EQ (windows->getNumDocuments(), 0);

    // With nothing open there is nothing to ask.
    dialogs.questions.clear();
    EXPECT_TRUE (windows->closeAllDocuments());
    EXPECT_TRUE (dialogs.questions.empty());
}

TEST_F (WindowManagerTest, TheSaveQuestionNamesALoadedFileWithoutItsExtension)
{
    const auto file = writePresetFile (folder / "Drums.marlo", 2);
    windows->openFile (file);
    ASSERT_EQ (windows->getNumDocuments(), 1);

    dialogs.saveAnswers.push_back (Answer::cancel);
    windows->closeAllDocuments();
    EXPECT_EQ (questionsAsked(), juce::StringArray ({"Would you like to save: Drums"}));
}

TEST_F (WindowManagerTest, OpeningAnOpenFileOnlyBringsItsWindowForward)
{
    const auto file = writePresetFile (folder / "Keys.marlo", 5);
    windows->openFile (file);
    windows->newDocument();
    ASSERT_EQ (windows->getNumDocuments(), 2);

    windows->openFile (file);
    EXPECT_EQ (windows->getNumDocuments(), 2);
    EXPECT_TRUE (runMessageLoopUntil ([this] { return windows->getDocument (0)->isActiveWindow(); }));
    EXPECT_EQ (windows->getActiveDocument(), windows->getDocument (0));
}

TEST_F (WindowManagerTest, AFailedOpenLeavesANewUntitledDocument)
{
    const auto broken = folder / "broken.marlo";
    broken.replaceWithText ("x");
    windows->openFile (broken);

    ASSERT_EQ (windows->getNumDocuments(), 1);
    EXPECT_EQ (windows->getDocument (0)->getDocumentName(), "Untitled 1");
    EXPECT_EQ (windows->getDocument (0)->getFile(), juce::File());
    EXPECT_EQ (dialogs.countAlerts ("Invalid File"), 1);
}

TEST_F (WindowManagerTest, AHandedOverFileNeverReplacesTheUsersWork)
{
    const auto first = writePresetFile (folder / "first.marlo", 1);
    const auto second = writePresetFile (folder / "second.marlo", 2);
    const auto third = writePresetFile (folder / "third.marlo", 3);

    // Nothing open: a new document takes it.
    windows->openFileInActiveDocument (first);
    ASSERT_EQ (windows->getNumDocuments(), 1);
    EXPECT_EQ (windows->getDocument (0)->getFile(), first);

    // A document that shows the file comes forward; nothing is loaded again.
    windows->newDocument();
    auto* fresh = windows->getDocument (1);
    ASSERT_TRUE (activate (*fresh));
    windows->openFileInActiveDocument (first);
    EXPECT_EQ (windows->getNumDocuments(), 2);
    EXPECT_EQ (fresh->getFile(), juce::File());

    // An untouched active document takes the file: a double-click still leaves one window.
    ASSERT_TRUE (activate (*fresh));
    windows->openFileInActiveDocument (second);
    EXPECT_EQ (windows->getNumDocuments(), 2);
    EXPECT_EQ (fresh->getFile(), second);

    // An edited document keeps its edit; the file gets a document of its own.
    windows->newDocument();
    auto* edited = windows->getDocument (2);
    typeAndCommit (boxOnPage (*edited->getEditor(), 1, "Knob 2 CC"), "88");
    const auto editedImage = edited->getController()->getPresetData();
    ASSERT_TRUE (activate (*edited));
    windows->openFileInActiveDocument (third);
    ASSERT_EQ (windows->getNumDocuments(), 4);
    EXPECT_EQ (windows->getDocument (3)->getFile(), third);
    EXPECT_EQ (edited->getController()->getPresetData(), editedImage);
    EXPECT_EQ (edited->getDocumentName(), "Untitled 3");
    EXPECT_TRUE (dialogs.questions.empty());
}

TEST_F (WindowManagerTest, AnUndoneEditStillCountsAsTheUsersWork)
{
    const auto file = writePresetFile (folder / "handed.marlo", 7);
    windows->newDocument();
    auto* document = windows->getDocument (0);
    typeAndCommit (boxOnPage (*document->getEditor(), 1, "Knob 2 CC"), "88");
    ASSERT_TRUE (document->getController()->undo());
    ASSERT_EQ (document->getController()->getPresetData(), factoryPresetData());

    // The redo step still holds the edit: replacing the preset would take it.
    windows->openFileInActiveDocument (file);
    ASSERT_EQ (windows->getNumDocuments(), 2);
    EXPECT_EQ (document->getFile(), juce::File());
    EXPECT_TRUE (document->getController()->canRedo());
}

TEST_F (WindowManagerTest, AHandedOverFileAtTheLimitIsNamedInTheAlert)
{
    openDocuments (WindowManager::maxDocuments);
    for (int i = 0; i < windows->getNumDocuments(); ++i)
        windows->getDocument (i)->getController()->markChanged();
    const auto file = writePresetFile (folder / "late.marlo", 9);

    windows->openFileInActiveDocument (file);

    EXPECT_EQ (windows->getNumDocuments(), WindowManager::maxDocuments);
    ASSERT_EQ (dialogs.alertsShown().size(), 1u);
    EXPECT_EQ (dialogs.alertsShown()[0].title, "Maxiumum Number of Open Documents Reached");
    EXPECT_EQ (dialogs.alertsShown()[0].message,
               "You may only have 5 documents open.\r\n\"" + file.getFullPathName() + "\" was not opened.");
}

TEST_F (WindowManagerTest, CloseWindowActsOnTheActiveDocumentOnly)
{
    openDocuments (3);
    ASSERT_TRUE (activate (*windows->getDocument (1)));

    dialogs.saveAnswers.push_back (Answer::no);
    windows->closeActiveDocument();
    EXPECT_EQ (openNames(), juce::StringArray ({"Untitled 1", "Untitled 3"}));
    EXPECT_EQ (questionsAsked(), juce::StringArray ({"Would you like to save: Untitled 2"}));

    // With no document active there is nothing to close and nothing to ask.
    windows->showDeviceSetup();
    ASSERT_TRUE (activate (*windows->getDeviceSetupWindow()));
    ASSERT_TRUE (runMessageLoopUntil ([this] { return windows->getActiveDocument() == nullptr; }));
    windows->closeActiveDocument();
    windows->minimizeActiveDocument();
    EXPECT_EQ (windows->getNumDocuments(), 2);
    EXPECT_EQ (dialogs.questions.size(), 1u);
}

TEST_F (WindowManagerTest, MinimizeActsOnTheActiveDocumentAndBringAllToFrontRestoresIt)
{
    if (!windowManagerIsRunning())
        GTEST_SKIP() << "minimising needs a window manager on the display (run openbox)";

    openDocuments (2);
    auto* first = windows->getDocument (0);
    ASSERT_TRUE (activate (*first));

    windows->minimizeActiveDocument();
    EXPECT_TRUE (runMessageLoopUntil ([first] { return first->isMinimised(); }));
    EXPECT_FALSE (windows->getDocument (1)->isMinimised());

    // Creation order, so the newest ends in front.
    windows->bringAllToFront();
    EXPECT_TRUE (runMessageLoopUntil ([first] { return !first->isMinimised(); }));
    EXPECT_TRUE (runMessageLoopUntil ([this] { return windows->getDocument (1)->isActiveWindow(); }));
}

TEST_F (WindowManagerTest, ThereIsOneAboutWindowAtATime)
{
    windows->showAbout();
    auto* about = windows->getAboutWindow();
    ASSERT_NE (about, nullptr);
    windows->showAbout();
    EXPECT_EQ (windows->getAboutWindow(), about);

    int aboutWindows = 0;
    for (int i = 0; i < juce::Desktop::getInstance().getNumComponents(); ++i)
        aboutWindows +=
            dynamic_cast<AboutWindow*> (juce::Desktop::getInstance().getComponent (i)) != nullptr ? 1 : 0;
    EXPECT_EQ (aboutWindows, 1);

    delete about;
    EXPECT_EQ (windows->getAboutWindow(), nullptr);
    windows->showAbout();
    EXPECT_NE (windows->getAboutWindow(), nullptr);
}

TEST_F (WindowManagerTest, ThereIsOneDeviceSetupWindowInFrontOfTheDocuments)
{
    openDocuments (1);
    windows->showDeviceSetup();
    auto* setup = windows->getDeviceSetupWindow();
    ASSERT_NE (setup, nullptr);
    windows->showDeviceSetup();
    EXPECT_EQ (windows->getDeviceSetupWindow(), setup);
    // On a loaded machine the window manager may drop a request that comes right after another
    // window appeared; the editor's own call is repeated, as a user would choose the item again.
    const auto becameActive = [this, setup]
    {
        for (int attempt = 0; attempt < 4; ++attempt)
        {
            if (runMessageLoopUntil ([setup] { return setup->isActiveWindow(); }, 2500))
                return true;
            windows->showDeviceSetup();
        }
        return false;
    };
    EXPECT_TRUE (becameActive());

    windows->windowCloseRequested (setup);
    EXPECT_EQ (windows->getDeviceSetupWindow(), nullptr);
    EXPECT_EQ (windows->getNumDocuments(), 1);
}

TEST_F (WindowManagerTest, DestructionTakesEveryWindowWithoutAQuestion)
{
    openDocuments (3);
    windows->showAbout();
    windows->showDeviceSetup();
    // The windows themselves: where the system shows translucent windows (Windows), the framework
    // also puts four shadow windows of its own on the desktop around each document.
    const auto before = juce::TopLevelWindow::getNumTopLevelWindows();
    ASSERT_GE (before, 5);

    windows.reset();

    EXPECT_TRUE (dialogs.questions.empty());
    EXPECT_EQ (juce::TopLevelWindow::getNumTopLevelWindows(), before - 5);
    EXPECT_EQ (juce::Desktop::getInstance().getNumComponents(), 0)
        << "nothing of theirs stays on the desktop";
}

TEST_F (WindowManagerTest, ADocumentOutlivesEveryDialogItWaitsOn)
{
    openDocuments (2);
    auto* second = windows->getDocument (1);
    const auto picked = writePresetFile (folder / "Picked.marlo", 9);

    // While the chooser's own message loop runs, the user presses Ctrl+W in the same document
    // and answers "No", then presses Ctrl+Q and answers "No" to everything.
    int closeAttempts = 0;
    dialogs.whileDialogIsOpen = [&]
    {
        if (closeAttempts++ > 0)
            return;
        dialogs.saveAnswers = {Answer::no, Answer::no, Answer::no};
        juce::MessageManager::callAsync ([&] { windows->windowCloseRequested (second); });
        juce::MessageManager::callAsync ([&] { EXPECT_FALSE (windows->closeAllDocuments()); });
        runMessageLoopFor (100);
    };
    dialogs.chooserAnswers.push_back (picked);

    EXPECT_TRUE (second->openWithChooser());

    ASSERT_EQ (windows->getNumDocuments(), 2);
    EXPECT_EQ (windows->getDocument (1), second);
    EXPECT_EQ (second->getDocumentName(), "Picked");
    // Neither the close nor the quit asked anything while the chooser was open.
    EXPECT_TRUE (dialogs.questions.empty());
    EXPECT_FALSE (second->isWaitingOnDialog());

    // Once the chooser has ended, the document closes as usual.
    dialogs.whileDialogIsOpen = nullptr;
    windows->windowCloseRequested (second);
    EXPECT_EQ (openNames(), juce::StringArray ({"Untitled 1"}));
}

TEST_F (WindowManagerTest, TheSaveQuestionAndItsChooserKeepTheirDocument)
{
    openDocuments (1);
    auto* document = windows->getDocument (0);

    // Inside the question, and then inside the chooser that "Yes" opens, the same document is
    // asked to close again.
    dialogs.whileDialogIsOpen = [&]
    {
        juce::MessageManager::callAsync ([&] { windows->windowCloseRequested (document); });
        runMessageLoopFor (50);
    };
    dialogs.saveAnswers = {Answer::yes};
    dialogs.chooserAnswers.push_back (folder / "Kept.marlo");

    windows->windowCloseRequested (document);

    EXPECT_EQ (dialogs.questions.size(), 1u);
    EXPECT_EQ (dialogs.choosersShown.size(), 1u);
    EXPECT_TRUE ((folder / "Kept.marlo").existsAsFile());
    EXPECT_EQ (windows->getNumDocuments(), 0);
}

TEST_F (WindowManagerTest, AHandedOverOrRecoveredSysExStaysForeignSoSaveAsksForAMarlo)
{
    using namespace SysExBytes;
    auto image = factoryPresetData();
    image.set (0, 5);
    const auto captured = join ({firstMakersMessage, presetMessage (image)});
    const auto syx = folder / "Captured.syx";
    const auto handed = folder / "Handed.syx";
    ASSERT_TRUE (syx.replaceWithData (captured.data(), captured.size()));
    ASSERT_TRUE (handed.replaceWithData (captured.data(), captured.size()));

    // An editor that ended with the preset changed offers it again; its file is still foreign.
    auto changed = image;
    changed.set (0, 6);
    ASSERT_TRUE (windows->openRecovered ({"Captured", syx, changed}));
    ASSERT_EQ (windows->getNumDocuments(), 1);
    auto* recovered = windows->getDocument (0);
    EXPECT_EQ (recovered->getController()->getPresetData(), changed);
    EXPECT_TRUE (recovered->isForeign());

    dialogs.chooserAnswers.push_back (std::nullopt);
    EXPECT_FALSE (recovered->save());
    ASSERT_EQ (dialogs.choosersShown.size(), 1u);
    EXPECT_EQ (dialogs.proposedNames.back(), "Captured.marlo");
    juce::MemoryBlock syxNow;
    ASSERT_TRUE (syx.loadFileAsData (syxNow));
    EXPECT_EQ (syxNow, juce::MemoryBlock (captured.data(), captured.size()));

    windows->openFileInActiveDocument (handed);
    ASSERT_EQ (windows->getNumDocuments(), 2);
    EXPECT_EQ (windows->getDocument (1)->getFile(), handed);
    EXPECT_TRUE (windows->getDocument (1)->isForeign());
}

// A capture that grew past what is read while the editor was down cannot be told from a preset
// file, so it is kept as another program's: Save asks, and the capture is untouched.
TEST_F (WindowManagerTest, ARecoveredPresetWhoseFileCannotBeReadNowIsNotSavedOverIt)
{
    const auto capture = folder / "Growing.syx";
    juce::MemoryBlock large (2 * 1024 * 1024, true);
    ASSERT_TRUE (capture.replaceWithData (large.getData(), large.getSize()));

    ASSERT_TRUE (windows->openRecovered ({"Growing", capture, factoryPresetData()}));
    auto* recovered = windows->getDocument (0);
    EXPECT_TRUE (recovered->isForeign());

    dialogs.chooserAnswers.push_back (std::nullopt);
    EXPECT_FALSE (recovered->save());
    EXPECT_EQ (capture.getSize(), static_cast<juce::int64> (large.getSize()));
}

namespace
{
juce::StringArray pathsOf (std::initializer_list<juce::File> files)
{
    juce::StringArray paths;
    for (const auto& file : files)
        paths.add (file.getFullPathName());
    return paths;
}
} // namespace

TEST_F (WindowManagerTest, ADropTakesOnlyPresetAndSystemExclusiveFiles)
{
    windows->newDocument();
    auto& target = *windows->getDocument (0);

    EXPECT_TRUE (target.isInterestedInFileDrag ({"/a/b.marlo"}));
    EXPECT_TRUE (target.isInterestedInFileDrag ({"/a/B.SYX"}));
    EXPECT_TRUE (target.isInterestedInFileDrag ({"/a/notes.txt", "/a/b.syx"}));
    EXPECT_FALSE (target.isInterestedInFileDrag ({"/a/notes.txt", "/a/marlo", "/a/b.marlo.bak"}));

    // What is not a preset is left out of a drop that holds one.
    const auto preset = writePresetFile (folder / "One.marlo", 3);
    const auto notes = folder / "notes.txt";
    ASSERT_TRUE (notes.replaceWithText ("x"));
    target.filesDropped (pathsOf ({notes, preset}), 10, 10);
    EXPECT_EQ (windows->getNumDocuments(), 1);
    EXPECT_EQ (target.getFile(), preset);
    EXPECT_TRUE (dialogs.alertsShown().empty());
}

TEST_F (WindowManagerTest, DroppedFilesFollowTheRuleOfAHandedOverFile)
{
    windows->newDocument();
    windows->newDocument();
    auto* untouched = windows->getDocument (0);
    auto* edited = windows->getDocument (1);
    typeAndCommit (boxOnPage (*edited->getEditor(), 1, "Knob 2 CC"), "88");
    const auto editedImage = edited->getController()->getPresetData();

    // Onto the user's work: a document of its own.
    const auto first = writePresetFile (folder / "First.marlo", 1);
    edited->filesDropped (pathsOf ({first}), 5, 5);
    ASSERT_EQ (windows->getNumDocuments(), 3);
    EXPECT_EQ (windows->getDocument (2)->getFile(), first);
    EXPECT_EQ (edited->getController()->getPresetData(), editedImage);

    // Onto an untouched document: the first file goes into it, each further one into its own.
    const auto second = writePresetFile (folder / "Second.syx", 2);
    const auto third = writePresetFile (folder / "Third.marlo", 3);
    untouched->filesDropped (pathsOf ({second, third}), 5, 5);
    ASSERT_EQ (windows->getNumDocuments(), 4);
    EXPECT_EQ (untouched->getFile(), second);
    EXPECT_EQ (untouched->getController()->getPresetData()[0], 2);
    EXPECT_EQ (windows->getDocument (3)->getFile(), third);

    // A file a document shows already only comes forward; past the limit each file is named.
    const auto fourth = writePresetFile (folder / "Fourth.marlo", 4);
    const auto fifth = writePresetFile (folder / "Fifth.marlo", 5);
    untouched->filesDropped (pathsOf ({first, fourth, fifth}), 5, 5);
    EXPECT_EQ (windows->getNumDocuments(), WindowManager::maxDocuments);
    EXPECT_EQ (windows->getDocument (4)->getFile(), fourth);
    ASSERT_EQ (dialogs.countAlerts ("Maxiumum Number of Open Documents Reached"), 1);
    EXPECT_TRUE (dialogs.alertsShown().back().message.contains (fifth.getFullPathName()));
    EXPECT_TRUE (dialogs.questions.empty());
}
