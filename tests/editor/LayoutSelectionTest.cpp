#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editor/EditorComponent.h"
#include "editor/MainView.h"
#include "editor/SectionBuilders.h"
#include "editor/SelectorButtons.h"

namespace
{
juce::StringArray namesOf (const BankView::Bank& bank)
{
    juce::StringArray names;
    for (auto* panel : bank.getControls())
        names.add (panel->getName());
    return names;
}

juce::Array<bool> toggleStates (const ControlSelector& selector)
{
    juce::Array<bool> states;
    for (auto* button : selector.getButtons())
        states.add (dynamic_cast<juce::Button*> (button)->getToggleState());
    return states;
}

juce::Button* buttonAt (const ControlSelector& selector, int index)
{
    return dynamic_cast<juce::Button*> (selector.getButtons()[index]);
}

int visiblePageIndex (const EditorComponent& editor)
{
    int index = -1;
    for (int i = 0; i < editor.getViews().size(); ++i)
        if (editor.getViews()[i]->isVisible())
        {
            EXPECT_EQ (index, -1) << "only one page may be visible";
            index = i;
        }
    return index;
}
} // namespace

TEST (BankView, PadsComeInTwoBanksSteppedByArrowsThatDoNotWrap)
{
    auto page = createPadsView (8, nullptr);
    auto& banks = page->getBankView();
    ASSERT_EQ (banks.getBankCount(), 2);
    EXPECT_EQ (namesOf (*banks.getBanks()[0]), (juce::StringArray{"Pad 1", "Pad 2", "Pad 3", "Pad 4"}));
    EXPECT_EQ (namesOf (*banks.getBanks()[1]), (juce::StringArray{"Pad 5", "Pad 6", "Pad 7", "Pad 8"}));

    auto* next = banks.getNextButton();
    auto* previous = banks.getPreviousButton();
    EXPECT_TRUE (next->isVisible());
    EXPECT_TRUE (previous->isVisible());
    EXPECT_EQ (next->getBounds(), juce::Rectangle<int> (1170, 0, 17, 26));
    EXPECT_EQ (previous->getBounds(), juce::Rectangle<int> (10, 0, 17, 26));

    const auto& bankPanels = banks.getBanks()[0]->getControls();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ (bankPanels[i]->getBounds(), juce::Rectangle<int> (40 + 280 * i, 0, 280, 211));

    banks.buttonClicked (previous);
    EXPECT_EQ (banks.getCurrentBank(), 0);
    EXPECT_TRUE (banks.getBanks()[0]->isVisible());

    banks.buttonClicked (next);
    EXPECT_EQ (banks.getCurrentBank(), 1);
    EXPECT_FALSE (banks.getBanks()[0]->isVisible());
    EXPECT_TRUE (banks.getBanks()[1]->isVisible());
    EXPECT_EQ (banks.getBanks()[1]->getBounds(), juce::Rectangle<int> (0, 0, 1200, 200));

    banks.buttonClicked (next);
    EXPECT_EQ (banks.getCurrentBank(), 1);

    // The real click path: the arrow posts its click, the bank view hears it.
    previous->triggerClick();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (30);
    EXPECT_EQ (banks.getCurrentBank(), 0);
}

TEST (BankView, PagesOfUpToFourPanelsHaveOneBankAndNoArrows)
{
    const std::unique_ptr<ZellControlLayoutView> pages[] = {
        createKnobsView (4, nullptr), createSwitchesView (4, nullptr), createKeybedView (nullptr),
        createWheelsView (nullptr),   createSustainView (nullptr),     createPadsView (3, nullptr),
    };

    for (const auto& page : pages)
    {
        auto& banks = page->getBankView();
        EXPECT_EQ (page->getBounds(), juce::Rectangle<int> (0, 0, 1200, 200));
        ASSERT_EQ (banks.getBankCount(), 1);
        EXPECT_TRUE (banks.getBanks()[0]->isVisible());
        EXPECT_FALSE (banks.getNextButton()->isVisible());
        EXPECT_FALSE (banks.getPreviousButton()->isVisible());

        for (auto* panel : page->getControlViews())
            EXPECT_TRUE (panel->isVisible() && panel->getParentComponent() == banks.getBanks()[0]);
    }

    EXPECT_EQ (pages[2]->getControlViews()[0]->getBounds(), juce::Rectangle<int> (40, 0, 1000, 211));
    EXPECT_EQ (pages[3]->getControlViews()[0]->getName(), "Mod Wheel");
    EXPECT_EQ (pages[3]->getControlViews()[1]->getName(), "Pitch Wheel");
    EXPECT_EQ (pages[3]->getControlViews()[1]->getX(), 320);
}

TEST (BankView, FewerControlsThanAFullBankStillMakeOneBank)
{
    BankView view (nullptr, nullptr);
    juce::Component a, b, c, d, e;
    for (auto* panel : {&a, &b, &c, &d, &e})
        panel->setSize (280, 211);
    view.addControls ({&a, &b, &c, &d, &e});
    EXPECT_EQ (view.getBanks().size(), 0) << "no banks before the bank size is set";

    view.setControlsPerBank (4);
    ASSERT_EQ (view.getBanks().size(), 2);
    EXPECT_EQ (view.getBanks()[1]->getControls(), (juce::Array<juce::Component*>{&e}));

    view.setControlsPerBank (2);
    EXPECT_EQ (view.getBanks().size(), 3);
    view.setControlsPerBank (0);
    EXPECT_EQ (view.getBanks().size(), 0);
}

TEST (Selectors, TabsFillTheBarExactly)
{
    const auto tabs = createTabButtons();
    ControlSelector bar (tabs, 0);
    const int expectedX[] = {0, 175, 345, 515, 685, 855, 1025};

    ASSERT_EQ (tabs.size(), 7);
    EXPECT_EQ (tabs[0]->getName(), "Main Window Button");
    for (int i = 0; i < 7; ++i)
    {
        EXPECT_EQ (tabs[i]->getX(), expectedX[i]);
        EXPECT_EQ (tabs[i]->getHeight(), 40);
    }
    EXPECT_EQ (tabs.getLast()->getRight(), 1200);
    EXPECT_EQ (bar.getWidth(), 1200);
    EXPECT_EQ (bar.getHeight(), 40);
}

TEST (Selectors, PictureButtonsAreReducedExceptTheKeybed)
{
    const auto parts = createPictureButtons();
    ControlSelector picture (parts, 1);
    const juce::Rectangle<int> expected[] = {{41, 12, 112, 16},   {104, 41, 55, 35}, {13, 114, 153, 76},
                                             {175, 40, 955, 167}, {104, 80, 55, 15}, {20, 44, 58, 50}};

    ASSERT_EQ (parts.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ (parts[i]->getBounds(), expected[i]) << i;

    picture.setSize (1151, 206);
    picture.setBackgroundImage (juce::Image (juce::Image::RGB, 1151, 206, true));
    ASSERT_NE (picture.getBackground(), nullptr);
    EXPECT_EQ (picture.getBackground()->getBounds(), juce::Rectangle<int> (0, 0, 1151, 206));
    EXPECT_EQ (picture.getIndexOfChildComponent (picture.getBackground()), 0) << "behind the buttons";
}

TEST (EditorComponent, OpensOnTheMainPageWithOnlyTheMainTabLit)
{
    auto editor = createEditorComponent (nullptr);
    EXPECT_EQ (editor->getWidth(), 1200);
    EXPECT_EQ (editor->getHeight(), 700);
    ASSERT_EQ (editor->getViews().size(), 7);

    auto& tabs = editor->getTabSelector();
    auto& picture = editor->getPictureSelector();
    EXPECT_NE (dynamic_cast<MainView*> (editor->getViewFor (buttonAt (tabs, 0))), nullptr);
    EXPECT_TRUE (editor->getViewFor (buttonAt (tabs, 0))->isVisible());
    EXPECT_EQ (toggleStates (tabs), (juce::Array<bool>{true, false, false, false, false, false, false}));
    EXPECT_EQ (toggleStates (picture), (juce::Array<bool>{false, false, false, false, false, false}));

    EXPECT_EQ (tabs.getBounds(), juce::Rectangle<int> (0, 482, 1200, 40));
    EXPECT_EQ (picture.getBounds(), juce::Rectangle<int> (26, 65, 1151, 206));
    for (auto* page : editor->getViews())
        EXPECT_EQ (page->getPosition(), juce::Point<int> (0, 527));
}

TEST (EditorComponent, PictureAndTabClicksLightEveryButtonOfTheShownPage)
{
    auto editor = createEditorComponent (nullptr);
    auto& tabs = editor->getTabSelector();
    auto& picture = editor->getPictureSelector();

    editor->buttonClicked (buttonAt (picture, 4));
    EXPECT_EQ (editor->getViewFor (buttonAt (tabs, 4)), editor->getViewFor (buttonAt (picture, 4)));
    EXPECT_TRUE (editor->getViewFor (buttonAt (tabs, 4))->isVisible());
    EXPECT_EQ (toggleStates (tabs), (juce::Array<bool>{false, false, false, false, true, false, false}));
    EXPECT_EQ (toggleStates (picture), (juce::Array<bool>{false, false, false, true, true, false}));

    editor->buttonClicked (buttonAt (tabs, 6));
    EXPECT_EQ (toggleStates (tabs), (juce::Array<bool>{false, false, false, false, false, false, true}));
    EXPECT_EQ (toggleStates (picture), (juce::Array<bool>{false, false, false, false, false, false}));
    const auto sustain = visiblePageIndex (*editor);

    editor->buttonClicked (buttonAt (tabs, 6));
    EXPECT_EQ (visiblePageIndex (*editor), sustain);

    // Each picture part opens the page of the matching tab.
    const int pageOfPart[] = {1, 2, 3, 4, 4, 5};
    for (int part = 0; part < 6; ++part)
        EXPECT_EQ (editor->getViewFor (buttonAt (picture, part)),
                   editor->getViewFor (buttonAt (tabs, pageOfPart[part])));

    // Through the framework: a real click on the Switches tab.
    buttonAt (tabs, 2)->triggerClick();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (30);
    EXPECT_TRUE (editor->getViewFor (buttonAt (tabs, 2))->isVisible());
    EXPECT_TRUE (buttonAt (picture, 1)->getToggleState());
}

TEST (EditorComponent, TransferButtonsSitOnTheBlueBand)
{
    auto editor = createEditorComponent (nullptr);
    const char* names[] = {"Load From MIDI", "Save To MIDI", "Load From HD", "Save To HD"};

    for (int i = 0; i < 4; ++i)
    {
        auto* button = findAs<juce::ImageButton> (*editor, names[i]);
        ASSERT_NE (button, nullptr) << names[i];
        const auto inEditor = editor->getLocalArea (button->getParentComponent(), button->getBounds());
        EXPECT_EQ (inEditor, juce::Rectangle<int> (5, 527 + 40 * i, 249, 35)) << names[i];
    }
}
