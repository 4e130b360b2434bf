#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "support/GeneratedPresets.h"

#include "app/LibraryWindow.h"
#include "app/WindowManager.h"
#include "library/PresetLibrary.h"
#include "midi/DeviceSettings.h"
#include "support/SimulatedClock.h"
#include "support/SystemUnderTest.h"

namespace
{
/** A small library: two presets in the top group (the second the same as the first), one in a
    group, and a file that is not a preset. */
class LibraryWindowTest : public ::testing::Test
{
protected:
    LibraryWindowTest()
    {
        writePreset (folder / "Lead.marlo", generatedPreset (2));
        writePreset (folder / "Lead copy.marlo", generatedPreset (2));
        writePreset (folder / "Bass/Deep Bass.marlo", generatedPreset (1));
        (folder / "Broken.marlo").replaceWithText ("not a preset");
    }

    juce::StringArray shownNames (LibraryWindow& window) const
    {
        juce::StringArray names;
        for (const auto* preset : window.getComponent().shownPresets())
            names.add (preset->path());
        return names;
    }

    static bool press (LibraryWindow& window, const juce::KeyPress& key)
    {
        return window.getPeer()->handleKeyPress (key);
    }

    static void type (LibraryWindow& window, const juce::String& text)
    {
        for (auto character : text)
            press (window, juce::KeyPress (static_cast<int> (character), {}, character));
    }

    /** The field filters once the framework tells of the change, from the message queue. */
    bool shows (LibraryWindow& window, const juce::StringArray& names)
    {
        return runMessageLoopUntil ([&] { return shownNames (window) == names; }, 3000);
    }

    static juce::Component* focused() { return juce::Component::getCurrentlyFocusedComponent(); }

    TemporaryFolder folder;
};
} // namespace

TEST_F (LibraryWindowTest, TheFieldFiltersAndTheKeysMoveOpenAndClose)
{
    juce::Array<juce::File> opened;
    juce::WeakReference<LibraryWindow> window =
        new LibraryWindow (folder.get(), [&opened] (const juce::File& file) { opened.add (file); });
    struct Closer
    {
        juce::WeakReference<LibraryWindow>& window;
        ~Closer() { delete window.get(); }
    } closer{window};
    window->setVisible (true);
    ASSERT_TRUE (activate (*window));
    window->focusInside();
    EXPECT_EQ (focused(), &window->getComponent().getSearchField());
    EXPECT_EQ (shownNames (*window).size(), 4);

    type (*window, "BASS");
    EXPECT_TRUE (shows (*window, {"Bass/Deep Bass"})) << shownNames (*window).joinIntoString (", ");
    // Return in the field opens the first match.
    press (*window, juce::KeyPress (juce::KeyPress::returnKey));
    ASSERT_EQ (opened.size(), 1);
    EXPECT_EQ (opened[0], folder / "Bass/Deep Bass.marlo");

    window->getComponent().getSearchField().clear();
    type (*window, "lead Knob 1 CC=2");
    EXPECT_TRUE (shows (*window, {"Lead", "Lead copy"})) << shownNames (*window).joinIntoString (", ");
    type (*window, "9");
    EXPECT_TRUE (shows (*window, {})) << "Knob 1 CC=29";
    press (*window, juce::KeyPress (juce::KeyPress::backspaceKey));
    ASSERT_TRUE (shows (*window, {"Lead", "Lead copy"}));

    // Down goes into the list onto the first match, then moves; Return opens the selected one.
    press (*window, juce::KeyPress (juce::KeyPress::downKey));
    EXPECT_EQ (focused(), &window->getComponent().getList());
    EXPECT_EQ (window->getComponent().getList().getSelectedRow(), 0);
    press (*window, juce::KeyPress (juce::KeyPress::downKey));
    press (*window, juce::KeyPress (juce::KeyPress::returnKey));
    ASSERT_EQ (opened.size(), 2);
    EXPECT_EQ (opened[1], folder / "Lead copy.marlo");
    press (*window, juce::KeyPress (juce::KeyPress::upKey));
    EXPECT_EQ (window->getComponent().selectedPreset()->name, "Lead");

    // Tab goes round every part: the list, its three buttons, and back to the field.
    press (*window, juce::KeyPress (juce::KeyPress::tabKey));
    EXPECT_NE (dynamic_cast<juce::Button*> (focused()), nullptr);
    press (*window, juce::KeyPress (juce::KeyPress::tabKey));
    press (*window, juce::KeyPress (juce::KeyPress::tabKey));
    press (*window, juce::KeyPress (juce::KeyPress::tabKey));
    EXPECT_EQ (focused(), &window->getComponent().getSearchField());

    press (*window, juce::KeyPress (juce::KeyPress::escapeKey));
    EXPECT_TRUE (runMessageLoopUntil ([&window] { return window == nullptr; }));
}

TEST_F (LibraryWindowTest, AMissingFolderIsMadeWhenTheWindowOpensAndAnUnreadableFileSaysWhy)
{
    const auto missing = folder / "not yet";
    {
        LibraryWindow window (missing, {});
        EXPECT_TRUE (missing.isDirectory());
        EXPECT_TRUE (window.getComponent().shownPresets().empty());
    }

    LibraryWindow window (folder.get(), {});
    const auto shown = window.getComponent().shownPresets();
    const auto broken =
        std::find_if (shown.begin(), shown.end(), [] (auto* p) { return p->name == "Broken"; });
    ASSERT_NE (broken, shown.end());
    EXPECT_FALSE ((*broken)->isReadable());
}

TEST_F (LibraryWindowTest, TheManagerOpensOneLibraryOnTheRememberedFolderAndReturnOpensAsADropDoes)
{
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    juce::ApplicationCommandManager commands;
    juce::File lastDirectory;
    DeviceSettings settings (folder / "settings.xml");
    const auto standard = PresetLibrary::defaultFolder();
    ASSERT_TRUE (settings.setLibraryFolder (standard, standard));
    EXPECT_FALSE (settings.getFile().existsAsFile()) << "the default is not written";
    ASSERT_TRUE (settings.setLibraryFolder (folder.get(), standard));
    EXPECT_EQ (settings.libraryFolder (standard), folder.get());

    WindowManager windows (&midi, &commands, &lastDirectory);
    windows.setDeviceSettings (&settings);
    windows.newDocument();
    windows.showLibrary();
    auto* library = windows.getLibraryWindow();
    ASSERT_NE (library, nullptr);
    windows.showLibrary();
    EXPECT_EQ (windows.getLibraryWindow(), library) << "raised, not opened a second time";
    EXPECT_EQ (library->getFolder(), folder.get());
    const auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay();
    ASSERT_NE (display, nullptr);
    EXPECT_TRUE (display->userArea.contains (library->getBounds())) << library->getBounds().toString();

    // The untouched document takes the first preset; the next goes into a document of its own.
    auto& list = library->getComponent().getList();
    list.selectRow (1);
    ASSERT_EQ (library->getComponent().selectedPreset()->name, "Lead");
    list.keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    ASSERT_EQ (windows.getNumDocuments(), 1);
    EXPECT_EQ (windows.getDocument (0)->getFile(), library->getComponent().selectedPreset()->file);
    list.selectRow (2);
    list.keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    ASSERT_EQ (windows.getNumDocuments(), 2);
    EXPECT_EQ (windows.getDocument (1)->getFile(), library->getComponent().selectedPreset()->file);
}

TEST_F (LibraryWindowTest, RenameDuplicateAndMoveToTrashAskFirstAndNeverWriteOverAFile)
{
    TemporaryFolder data;
    SystemUnderTest::setEnvironment ("XDG_DATA_HOME", data.get().getFullPathName().toRawUTF8());
    LibraryWindow window (folder.get(), {});
    window.setVisible (true);
    auto& component = window.getComponent();
    auto& list = component.getList();
    const auto answer = [&component] (int button, const juce::String& name = {})
    {
        auto* question = component.getQuestion();
        if (question == nullptr)
            return false;
        if (auto* field = question->getTextEditor ("name"))
            field->setText (name);
        question->exitModalState (button);
        return runMessageLoopUntil ([&component] { return component.getQuestion() == nullptr; });
    };
    const auto pressInList = [&] (const juce::KeyPress& key) { component.keyPressed (key, &list); };

    component.selectFile (folder / "Lead.marlo");
    pressInList (juce::KeyPress (juce::KeyPress::F2Key));
    ASSERT_TRUE (answer (1, "Lead copy"));
    EXPECT_TRUE ((folder / "Lead.marlo").existsAsFile()) << "a name taken is refused";
    EXPECT_TRUE (component.getStatusText().contains ("already")) << component.getStatusText();

    const auto date = (folder / "Lead.marlo").getLastModificationTime();
    pressInList (juce::KeyPress (juce::KeyPress::F2Key));
    ASSERT_TRUE (answer (1, "Solo"));
    EXPECT_FALSE ((folder / "Lead.marlo").exists());
    EXPECT_EQ ((folder / "Solo.marlo").getLastModificationTime(), date);
    ASSERT_NE (component.selectedPreset(), nullptr);
    EXPECT_EQ (component.selectedPreset()->name, "Solo");
    EXPECT_EQ (component.selectedPreset()->image, generatedPreset (2));

    pressInList (juce::KeyPress ('d', juce::ModifierKeys::commandModifier, 0));
    EXPECT_TRUE ((folder / "Solo 2.marlo").hasIdenticalContentTo (folder / "Solo.marlo"));
    EXPECT_EQ (component.selectedPreset()->name, "Solo 2");

    pressInList (juce::KeyPress (juce::KeyPress::deleteKey));
    ASSERT_TRUE (answer (0));
    EXPECT_TRUE ((folder / "Solo 2.marlo").existsAsFile()) << "cancelled";
    pressInList (juce::KeyPress (juce::KeyPress::deleteKey));
    ASSERT_TRUE (answer (1));
    EXPECT_FALSE ((folder / "Solo 2.marlo").exists());
    // The freedesktop.org trash; Windows' recycle bin keeps its own books, out of a test's reach.
    if (SystemUnderTest::isPosix)
    {
        EXPECT_TRUE ((data / "Trash/files/Solo 2.marlo").existsAsFile());
        EXPECT_TRUE ((data / "Trash/info/Solo 2.marlo.trashinfo").existsAsFile());
    }
    EXPECT_EQ (component.shownPresets().size(), 4u);
    SystemUnderTest::unsetEnvironment ("XDG_DATA_HOME");
}

TEST_F (LibraryWindowTest, SendOnSelectSendsThePresetMovedOntoAndOnlyTheNewestOfAQuickRun)
{
    SimulatedClock clock;
    auto* marlo = new SimulatedMarlo (clock.function()); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    clock.afterEachStep = [marlo] { marlo->deliverDue(); };
    midi.setOutputDevice (SimulatedMarlo::deviceName);
    PresetSender sender{midi, clock.createTimer(), clock.function()};
    LibraryWindow window (folder.get(), {}, &sender);
    auto& component = window.getComponent();

    EXPECT_FALSE (component.getSendOnSelect().getToggleState()) << "off by default";
    component.selectFile (folder / "Bass/Deep Bass.marlo");
    clock.advanceBy (1000);
    EXPECT_EQ (sender.getDumpsSent(), 0);

    component.getSendOnSelect().setToggleState (true, juce::dontSendNotification);
    component.selectFile (folder / "Lead.marlo");
    component.selectFile (folder / "Lead copy.marlo");
    component.selectFile (folder / "Bass/Deep Bass.marlo");
    component.selectFile (folder / "Broken.marlo");
    clock.advanceBy (2000);
    EXPECT_EQ (sender.getDumpsSent(), 1) << "paced as live sending: only the newest of a quick run";
    EXPECT_EQ (marlo->getPreset(), generatedPreset (1));
    EXPECT_TRUE (component.getStatusText().contains ("Bass/Deep Bass")) << component.getStatusText();
}
