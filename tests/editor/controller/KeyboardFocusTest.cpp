#include <gtest/gtest.h>

#include "EditedDocument.h"
#include "editor/ZellControlLayoutView.h"
#include "preset/ParameterIndex.h"

namespace
{
using KeyboardFocusTest = EditedDocument;

/** Where Tab goes, from the first control it reaches, in order. */
std::vector<juce::Component*> tabOrder (juce::Component& root)
{
    std::vector<juce::Component*> order;
    auto traverser = root.createKeyboardFocusTraverser();
    for (auto* next = traverser->getDefaultComponent (&root); next != nullptr && order.size() < 500;
         next = traverser->getNextComponent (next))
        order.push_back (next);
    return order;
}

} // namespace

TEST_F (KeyboardFocusTest, TabReachesTheTabsThenEachPanelTopToBottomPanelsLeftToRight)
{
    ASSERT_TRUE (editor->showPage (3));
    const auto order = tabOrder (*editor);
    const auto& tabs = editor->getTabSelector().getButtons();
    ASSERT_GT (order.size(), static_cast<size_t> (tabs.size()));
    for (int i = 0; i < tabs.size(); ++i)
        EXPECT_EQ (order[static_cast<size_t> (i)], tabs[i]) << "tab " << i;

    // The pads page: the first bank's panels, each from its Mode box down its shown rows.
    juce::StringArray expected;
    for (int pad = 1; pad <= 4; ++pad)
        for (const auto& name : model.getShownNames())
            if (name.startsWith ("Pad " + juce::String (pad) + " "))
                expected.add (name);
    juce::StringArray reached;
    for (auto it = order.begin() + tabs.size(); it != order.end(); ++it)
        reached.add ((*it)->getName());
    EXPECT_EQ (reached, expected);
    EXPECT_TRUE (reached[0].endsWith ("Mode"));
}

TEST_F (KeyboardFocusTest, AClickOnATabLeavesTheFocusWhereItWas)
{
    for (auto* tab : editor->getTabSelector().getButtons())
    {
        EXPECT_TRUE (tab->getWantsKeyboardFocus());
        EXPECT_FALSE (tab->getMouseClickGrabsKeyboardFocus());
    }
    for (auto* part : editor->getPictureSelector().getButtons())
        EXPECT_FALSE (part->getWantsKeyboardFocus()) << "the picture's parts stay out of the Tab order";
}

TEST_F (KeyboardFocusTest, BankKeysStepThePadsOnlyWhileTheirPageIsShown)
{
    // The pages are kept in the order of their buttons' addresses, so the pads page is found
    // through its tab.
    auto* padsPage = dynamic_cast<ZellControlLayoutView*> (
        editor->getViewFor (dynamic_cast<juce::Button*> (editor->getTabSelector().getButtons()[3])));
    ASSERT_NE (padsPage, nullptr);
    auto& banks = padsPage->getBankView();
    ASSERT_TRUE (editor->showPage (1));
    EXPECT_FALSE (editor->stepBank (1));
    EXPECT_EQ (banks.getCurrentBank(), 0);

    ASSERT_TRUE (editor->showPage (3));
    EXPECT_FALSE (editor->stepBank (-1)) << "arrows do not wrap";
    EXPECT_TRUE (editor->stepBank (1));
    EXPECT_EQ (banks.getCurrentBank(), 1);
    EXPECT_FALSE (editor->stepBank (1));
    EXPECT_TRUE (editor->stepBank (-1));
    EXPECT_EQ (banks.getCurrentBank(), 0);
    EXPECT_FALSE (editor->showPage (7));
}

TEST_F (KeyboardFocusTest, EachPageStartsAtItsFirstNumberBoxAndTheMainPageAtItsFirstButton)
{
    EXPECT_EQ (editor->getFirstControlOfPage (0)->getName(), "Load From MIDI");

    const juce::StringArray firstBoxes{"Knob 1 MIDI Channel",    "Switch 1 MIDI Channel",
                                       "Pad 1 MIDI Channel",     "Keybed MIDI Channel",
                                       "Mod Wheel MIDI Channel", "Sustain MIDI Channel"};
    for (int page = 1; page < 7; ++page)
    {
        auto* first = editor->getFirstControlOfPage (page);
        ASSERT_NE (dynamic_cast<NumberBox*> (first), nullptr) << "page " << page;
        EXPECT_EQ (first->getName(), firstBoxes[page - 1]) << "page " << page;
    }
    EXPECT_EQ (editor->getFirstControlOfPage (7), nullptr);
}

TEST_F (KeyboardFocusTest, EveryNumberBoxNamesItsRangeInShownUnits)
{
    const auto tipOf = [this] (const juce::String& name)
    {
        auto* box = findAs<NumberBox> (*editor, name);
        return box != nullptr ? box->getTooltip() : "no box " + name;
    };
    EXPECT_EQ (tipOf ("Knob 1 MIDI Channel"), "1 to 16");
    EXPECT_EQ (tipOf ("Knob 1 CC"), "0 to 127");
    EXPECT_EQ (tipOf ("Keybed Transpose"), "-12 to 12");

    int boxes = 0;
    for (const auto& entry : ParameterIndex::all())
        if (auto* box = findAs<NumberBox> (*editor, entry.name))
        {
            ++boxes;
            auto& shown = binding (entry.name);
            // A note box says the note's name on a line of its own below.
            EXPECT_EQ (box->getTooltip().upToFirstOccurrenceOf ("\n", false, false),
                       juce::String (shown.getMinimum (false)) + " to " +
                           juce::String (shown.getMaximum (false)))
                << entry.name;
        }
    EXPECT_GT (boxes, 100);
}
