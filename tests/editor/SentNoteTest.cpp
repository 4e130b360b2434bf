#include <gtest/gtest.h>

#include "editor/MainView.h"

namespace
{
/** A clock the test moves by hand. */
struct HandClock
{
    juce::Time now{2026, 11, 7, 14, 3, 7};
    std::function<juce::Time()> reader()
    {
        return [this] { return now; };
    }
    void advance (int milliseconds) { now += juce::RelativeTime::milliseconds (milliseconds); }
};
} // namespace

TEST (SentNoteTest, TheNoteSaysWhereAndWhenAndGoesAfterFiveSeconds)
{
    MainView page (nullptr);
    HandClock clock;
    auto& note = page.getSentNote();
    note.setClock (clock.reader());
    EXPECT_FALSE (note.isVisible());

    note.showSendTo ("Marlo USB");
    EXPECT_TRUE (note.isVisible());
    EXPECT_EQ (note.getText(), "Sent to Marlo USB at 14:03:07");
    EXPECT_EQ (note.findColour (juce::Label::textColourId), juce::Colours::white);

    // Its own timer may come early: before the five seconds are up the note stays.
    clock.advance (4999);
    note.refresh();
    EXPECT_TRUE (note.isVisible());

    clock.advance (1);
    note.refresh();
    EXPECT_FALSE (note.isVisible());
    EXPECT_TRUE (note.getText().isEmpty());
}

TEST (SentNoteTest, ASecondSendStartsTheFiveSecondsAnewWithItsOwnTime)
{
    MainView page (nullptr);
    HandClock clock;
    auto& note = page.getSentNote();
    note.setClock (clock.reader());

    note.showSendTo ("Marlo USB");
    clock.advance (4000);
    note.showSendTo ("Other Port");
    EXPECT_EQ (note.getText(), "Sent to Other Port at 14:03:11");

    clock.advance (4000);
    note.refresh();
    EXPECT_TRUE (note.isVisible());
    clock.advance (1000);
    note.refresh();
    EXPECT_FALSE (note.isVisible());

    // A clock set back since the send: the time shown is no longer true, and the note goes.
    note.showSendTo ("Marlo USB");
    clock.advance (-60000);
    note.refresh();
    EXPECT_FALSE (note.isVisible());
}

TEST (SentNoteTest, TheNoteStandsRightOfTheFourButtonsOnThePage)
{
    MainView page (nullptr);
    const auto& note = page.getSentNote();
    EXPECT_EQ (note.getParentComponent(), &page);

    int buttonsRight = 0;
    for (auto* button : page.getButtons())
        buttonsRight = juce::jmax (buttonsRight, button->getRight());
    EXPECT_GT (note.getX(), buttonsRight);
    EXPECT_LE (note.getRight(), page.getWidth());
    // Within the rows of the page that the editor shows (its top 173 pixels).
    EXPECT_GE (note.getY(), page.getButtons().getFirst()->getY());
    EXPECT_LE (note.getBottom(), 173);
    EXPECT_FALSE (note.getWantsKeyboardFocus());
}
