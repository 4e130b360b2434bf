#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "ApplicationProbe.h"

#include "app/MenuKeys.h"
#include "app/OrvaneZellSeriesEditorApplication.h"
#include "editor/CustomLook.h"
#include "editor/EditorTestSupport.h"
#include "editor/NumberBox.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetLayout.h"
#include "support/SystemUnderTest.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace
{
const auto alt = juce::ModifierKeys::altModifier;
const auto command = juce::ModifierKeys::commandModifier;

/** A running editor with its first window active, driven by keys as the window system hands
    them over: to the focused component, then up to the window. */
class KeyboardFirstTest : public ::testing::Test
{
protected:
    KeyboardFirstTest()
    {
        SystemUnderTest::setEnvironment (
            "MARLO_EDITOR_INSTANCE", ("keys-test-" + juce::String (juce::Random().nextInt64())).toRawUTF8());
        application->setQuitAction ([] {});
        application->initialise ({});
        document = ApplicationProbe::windows (*application)->getDocument (0);
    }

    ~KeyboardFirstTest() override
    {
        juce::PopupMenu::dismissAllActiveMenus();
        application->shutdown();
        application.reset();
        SystemUnderTest::unsetEnvironment ("MARLO_EDITOR_INSTANCE");
    }

    /** Keys are handed to the window directly here, ahead of the window system's own focus
        events for the new window, which may still be on their way; they are let in first. */
    bool activateAndSettle()
    {
        if (!activate (*document) ||
            !runMessageLoopUntil ([this] { return document->isParentOf (focused()); }))
            return false;
        runMessageLoopFor (300);
        return document->isParentOf (focused());
    }

    bool press (const juce::KeyPress& key) { return document->getPeer()->handleKeyPress (key); }

    void type (const juce::String& text)
    {
        for (auto character : text)
            press (juce::KeyPress (static_cast<int> (character), {}, character));
    }

    static int offsetOf (const juce::String& name)
    {
        for (const auto& entry : ParameterIndex::all())
            if (entry.name == name)
                return entry.offset;
        return -1;
    }

    static juce::Component* focused() { return juce::Component::getCurrentlyFocusedComponent(); }

    /** The menu bar's item whose pop-up is showing, or an empty name for none. */
    juce::String openMenu() const
    {
        auto* manager = juce::ModalComponentManager::getInstance();
        if (manager->getNumModalComponents() == 0)
            return {};
        // A menu opens below its item on the bar, whose items are in the order of the names.
        const auto popupX = manager->getModalComponent (0)->getScreenX();
        auto* bar = dynamic_cast<juce::MenuBarComponent*> (document->getMenuBarComponent());
        const auto names = bar->getModel()->getMenuBarNames();
        for (int index = 0; index < bar->getNumChildComponents(); ++index)
            if (std::abs (bar->getChildComponent (index)->getScreenX() - popupX) < 8)
                return names[index];
        return "a menu away from the bar";
    }

    bool menuOpens (const juce::String& name)
    {
        return runMessageLoopUntil ([this, &name] { return openMenu() == name; }, 3000);
    }

    bool escapeClosesTheMenu()
    {
        press (juce::KeyPress (juce::KeyPress::escapeKey));
        const auto closed = menuOpens ({});
        // The bar hears of it through posted messages, as it does before the window system's
        // next key: a busy machine may not have delivered them within any fixed time, so each
        // round waits for a message posted after them.
        for (int round = 0; round < 3; ++round)
        {
            auto delivered = std::make_shared<bool> (false);
            juce::MessageManager::callAsync ([delivered] { *delivered = true; });
            runMessageLoopUntil ([delivered] { return *delivered; }, 5000);
        }
        runMessageLoopFor (50);
        return closed;
    }

    RecordingDialogs dialogs;
    std::unique_ptr<OrvaneZellSeriesEditorApplication> application =
        std::make_unique<OrvaneZellSeriesEditorApplication>();
    EditorDocument* document = nullptr;
};
} // namespace

TEST (MenuKeys, F10OpensTheFirstMenuAndAltTheMenuOfItsLetter)
{
    const juce::StringArray names{"File", "Edit", "Options", "Window", "Help"};
    EXPECT_EQ (MenuKeys::menuToOpen (juce::KeyPress (juce::KeyPress::F10Key), names), 0);
    EXPECT_EQ (MenuKeys::menuToOpen (juce::KeyPress ('f', alt, 0), names), 0);
    EXPECT_EQ (MenuKeys::menuToOpen (juce::KeyPress ('E', alt, 0), names), 1);
    EXPECT_EQ (MenuKeys::menuToOpen (juce::KeyPress ('o', alt, 0), names), 2);
    EXPECT_EQ (MenuKeys::menuToOpen (juce::KeyPress ('w', alt, 0), names), 3);
    EXPECT_EQ (MenuKeys::menuToOpen (juce::KeyPress ('h', alt, 0), names), 4);
    EXPECT_EQ (MenuKeys::menuToOpen (juce::KeyPress ('v', alt, 0), names), -1) << "no View menu here";

    // A menu added to the bar brings its letter, and moves the others along.
    const juce::StringArray withView{"File", "Edit", "View", "Options", "Window", "Help"};
    EXPECT_EQ (MenuKeys::menuToOpen (juce::KeyPress ('v', alt, 0), withView), 2);
    EXPECT_EQ (MenuKeys::menuToOpen (juce::KeyPress ('o', alt, 0), withView), 3);

    // Keys that type or run commands are left alone.
    for (const auto& key :
         {juce::KeyPress ('f'), juce::KeyPress ('f', alt | command, 0),
          juce::KeyPress ('f', alt | juce::ModifierKeys::shiftModifier, 0), juce::KeyPress ('1', alt, 0),
          juce::KeyPress (juce::KeyPress::F10Key, command, 0)})
        EXPECT_EQ (MenuKeys::menuToOpen (key, names), -1) << key.getTextDescription();
    EXPECT_EQ (MenuKeys::menuToOpen (juce::KeyPress (juce::KeyPress::F10Key), {}), -1);
}

TEST_F (KeyboardFirstTest, ANewWindowHasTheKeyboardOnItsPageAndTabMovesOn)
{
    ASSERT_TRUE (activate (*document));
    // No click: the window's own focus goes on to the main page's first button.
    ASSERT_TRUE (
        runMessageLoopUntil ([] { return focused() != nullptr && focused()->getName() == "Load From MIDI"; }))
        << (focused() != nullptr ? focused()->getName() : "nothing") << " has the focus";

    press (juce::KeyPress (juce::KeyPress::tabKey));
    ASSERT_NE (focused(), nullptr);
    EXPECT_EQ (focused()->getName(), "Save To MIDI");
    press (juce::KeyPress (juce::KeyPress::tabKey, juce::ModifierKeys::shiftModifier, 0));
    EXPECT_EQ (focused()->getName(), "Load From MIDI");
}

TEST_F (KeyboardFirstTest, PageKeysPutTheFocusInTheFirstBoxSoDigitsAndReturnEditIt)
{
    ASSERT_TRUE (activateAndSettle());
    auto* controller = document->getController();

    ASSERT_TRUE (press (juce::KeyPress ('2', command, 0)));
    ASSERT_NE (dynamic_cast<NumberBox*> (focused()), nullptr);
    EXPECT_EQ (focused()->getName(), "Knob 1 MIDI Channel");

    const auto before = controller->getPresetData();
    type ("7");
    press (juce::KeyPress (juce::KeyPress::returnKey));
    ASSERT_TRUE (runMessageLoopUntil ([&] { return controller->getPresetData() != before; }, 3000))
        << "focused " << (focused() ? focused()->getName() : "none") << " text "
        << findAs<NumberBox> (*document->getEditor(), "Knob 1 MIDI Channel")->getText();
    auto expected = before;
    // The box shows channels from 1; the byte counts from 0.
    expected.set (offsetOf ("Knob 1 MIDI Channel"), 6);
    EXPECT_EQ (controller->getPresetData(), expected);

    ASSERT_TRUE (press (juce::KeyPress ('5', command, 0)));
    EXPECT_EQ (focused()->getName(), "Keybed MIDI Channel");
    ASSERT_TRUE (press (juce::KeyPress ('1', command, 0)));
    EXPECT_EQ (focused()->getName(), "Load From MIDI");
}

TEST_F (KeyboardFirstTest, F10AndAltLettersOpenTheMenusArrowsMoveReturnRunsEscapeCloses)
{
    ASSERT_TRUE (activateAndSettle());
    // From inside a number box too, which takes every other plain key.
    ASSERT_TRUE (press (juce::KeyPress ('2', command, 0)));

    ASSERT_TRUE (press (juce::KeyPress (juce::KeyPress::F10Key)));
    EXPECT_TRUE (menuOpens ("File"));
    press (juce::KeyPress (juce::KeyPress::rightKey));
    EXPECT_TRUE (menuOpens ("Edit"));
    EXPECT_TRUE (escapeClosesTheMenu());

    for (const auto& [letter, menu] : std::map<char, juce::String>{
             {'f', "File"}, {'e', "Edit"}, {'o', "Options"}, {'w', "Window"}, {'h', "Help"}})
    {
        ASSERT_TRUE (press (juce::KeyPress (letter, alt, 0))) << menu;
        EXPECT_TRUE (menuOpens (menu)) << "Alt+" << letter << " opened " << openMenu();
        EXPECT_TRUE (escapeClosesTheMenu());
    }
    EXPECT_EQ (focused()->getName(), "Knob 1 MIDI Channel") << "a closed menu gives the focus back";

    // Help's first item, the guide, is selected as the menu opens from the keyboard: Return runs it.
    juce::Array<juce::File> opened;
    application->setGuideOpener (
        [&opened] (const juce::File& guide)
        {
            opened.add (guide);
            return true;
        });
    const auto guideExists = [] (const juce::File& guide) { return guide.existsAsFile(); };
    const auto places = OrvaneZellSeriesEditorApplication::getUserGuidePlaces();
    ASSERT_TRUE (press (juce::KeyPress ('h', alt, 0)));
    ASSERT_TRUE (menuOpens ("Help"));
    press (juce::KeyPress (juce::KeyPress::returnKey));
    EXPECT_TRUE (menuOpens ({}));
    if (std::any_of (places.begin(), places.end(), guideExists))
        EXPECT_TRUE (runMessageLoopUntil ([&opened] { return !opened.isEmpty(); }, 3000));
    else
        EXPECT_TRUE (runMessageLoopUntil ([this] { return !dialogs.modalMessages.empty(); }, 3000));
}

TEST_F (KeyboardFirstTest, EveryFocusableControlShowsARingThatStandsOutFromWhatLiesBehind)
{
    ASSERT_TRUE (activateAndSettle());
    auto& editor = *document->getEditor();
    int transferButtons = 0;
    int checked = 0;

    for (int page = 0; page < 7; ++page)
    {
        ASSERT_TRUE (editor.showPage (page));
        for (auto* control : editor.createKeyboardFocusTraverser()->getAllComponents (&editor))
        {
            expectRingStandsOut (editor, *control, " on page " + juce::String (page));
            ++checked;
            if (page == 0 && dynamic_cast<juce::ImageButton*> (control) != nullptr &&
                !editor.getTabSelector().isParentOf (control))
                ++transferButtons;
        }
    }
    EXPECT_EQ (transferButtons, 4) << "the main page's buttons";
    EXPECT_GT (checked, 100);
}
