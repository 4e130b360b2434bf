#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editor/NumberBox.h"
#include "support/MessageLoop.h"

namespace
{
struct CountingListener final : public NumberBox::Listener
{
    void numberBoxValueChanged (NumberBox* box) override { values.push_back (box->getValue()); }
    std::vector<double> values;
};

struct NumberBoxTest : public ::testing::Test
{
    void setRange (double minimum, double maximum, double value)
    {
        box.setMinimum (minimum);
        box.setMaximum (maximum);
        box.setValue (value, false);
        box.addListener (&listener);
    }

    NumberBox box;
    CountingListener listener;
};
} // namespace

TEST_F (NumberBoxTest, CommitsOnlyValuesInsideTheInclusiveRange)
{
    setRange (0, 127, 64);

    typeAndCommit (box, "200");
    EXPECT_EQ (box.getText(), "64");
    EXPECT_EQ (box.getValue(), 64.0);
    EXPECT_TRUE (listener.values.empty());

    typeAndCommit (box, "127");
    EXPECT_EQ (box.getText(), "127");
    typeAndCommit (box, "0");
    EXPECT_EQ (box.getText(), "0");
    EXPECT_EQ (listener.values, (std::vector<double>{127.0, 0.0}));
}

TEST_F (NumberBoxTest, EmptyTextBringsBackTheValueSilently)
{
    setRange (0, 127, 42);

    typeAndCommit (box, "");
    EXPECT_EQ (box.getText(), "42");

    box.setText ({}, false);
    box.textEditorFocusLost (box);
    EXPECT_EQ (box.getText(), "42");
    EXPECT_TRUE (listener.values.empty());
}

TEST_F (NumberBoxTest, ReenteringTheSameValueNotifiesAgain)
{
    setRange (0, 127, 5);
    typeAndCommit (box, "5");
    typeAndCommit (box, "5");
    box.setValue (5, true);
    EXPECT_EQ (listener.values.size(), 3u);
}

TEST_F (NumberBoxTest, SignsAreTypableOnlyWithANegativeMinimum)
{
    setRange (1, 16, 3);
    box.setText ({}, false);
    box.insertTextAtCaret ("-1+2a");
    EXPECT_EQ (box.getText(), "12");

    typeAndCommit (box, "0");
    EXPECT_EQ (box.getText(), "3") << "0 is below a channel's range";
    EXPECT_TRUE (listener.values.empty());

    box.setMinimum (-12);
    box.setText ({}, false);
    box.insertTextAtCaret ("-1x");
    EXPECT_EQ (box.getText(), "-1");
}

TEST_F (NumberBoxTest, SignedValuesNeverShowMinusZero)
{
    setRange (-12, 12, 0);

    typeAndCommit (box, "-0");
    EXPECT_EQ (box.getText(), "0");
    EXPECT_FALSE (std::signbit (box.getValue()));

    typeAndCommit (box, "+5");
    EXPECT_EQ (box.getText(), "5");
    typeAndCommit (box, "-12");
    EXPECT_EQ (box.getText(), "-12");
    typeAndCommit (box, "-13");
    EXPECT_EQ (box.getText(), "-12");
    EXPECT_EQ (listener.values, (std::vector<double>{0.0, 5.0, -12.0}));
}

TEST_F (NumberBoxTest, FocusLossWithoutTypedTextTellsNobody)
{
    // The framework delivers a loss of focus late; a box hidden meanwhile must not report its
    // value again, or it would write it into a byte it shares with the box now shown.
    setRange (0, 127, 64);
    box.setVisible (false);
    box.textEditorFocusLost (box);
    EXPECT_TRUE (listener.values.empty());
}

TEST_F (NumberBoxTest, FocusLossCommitsAndClearsTheSelection)
{
    setRange (0, 127, 1);
    box.setText ("99", false);
    box.selectAll();
    box.textEditorFocusLost (box);
    EXPECT_EQ (box.getValue(), 99.0);
    EXPECT_TRUE (box.getHighlightedRegion().isEmpty());
    EXPECT_EQ (listener.values.size(), 1u);
}

TEST_F (NumberBoxTest, ReturnKeyReachesTheBoxThroughTheFramework)
{
    // The real path: the key press posts a message that the box hears as its own listener.
    setRange (0, 127, 1);
    box.setText ("77", false);
    box.keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (30);
    EXPECT_EQ (listener.values, (std::vector<double>{77.0}));
}

TEST_F (NumberBoxTest, TextThatIsNotANumberBringsTheValueBackAndWritesNothing)
{
    // A lone sign used to read as 0: Transpose then became 0 although the user typed no number.
    setRange (-12, 12, 7);
    for (const auto* text : {"-", "+", "12+3", "--5", "+-", "5-"})
    {
        SCOPED_TRACE (text);
        box.setText (text, false);
        box.textEditorReturnKeyPressed (box);
        EXPECT_EQ (box.getValue(), 7.0);
        EXPECT_EQ (box.getText(), "7");
    }
    box.setText ("-", false);
    box.textEditorFocusLost (box);
    EXPECT_EQ (box.getText(), "7");
    EXPECT_TRUE (listener.values.empty());

    typeAndCommit (box, "+5");
    EXPECT_EQ (listener.values, (std::vector<double>{5.0}));
}

TEST_F (NumberBoxTest, SetValueRefusesOutOfRange)
{
    setRange (0, 127, 12);
    box.setValue (128, true);
    box.setValue (-1, true);
    EXPECT_EQ (box.getValue(), 12.0);
    EXPECT_EQ (box.getText(), "12");
    EXPECT_TRUE (listener.values.empty());
}

TEST_F (NumberBoxTest, PendingTextIsCommittedOnlyWhenThereIsSome)
{
    setRange (1, 16, 1);
    EXPECT_FALSE (box.hasPendingText());
    box.commitPendingText();
    EXPECT_TRUE (listener.values.empty());

    box.setText ("9", false);
    EXPECT_TRUE (box.hasPendingText());
    box.commitPendingText();
    EXPECT_EQ (listener.values, (std::vector<double>{9.0}));

    // Refused text is dropped by the box's own rules: the value shows again.
    box.setText ("17", false);
    box.commitPendingText();
    EXPECT_EQ (box.getText(), "9");
    EXPECT_FALSE (box.hasPendingText());
    EXPECT_EQ (listener.values.size(), 1u);
}

TEST_F (NumberBoxTest, ArrowAndPageKeysStepWithinTheRangeAndCommit)
{
    setRange (0, 127, 64);
    const auto press = [this] (int key) { return box.keyPressed (juce::KeyPress (key)); };

    EXPECT_TRUE (press (juce::KeyPress::upKey));
    EXPECT_TRUE (press (juce::KeyPress::pageUpKey));
    EXPECT_EQ (box.getValue(), 75.0);
    EXPECT_TRUE (press (juce::KeyPress::downKey));
    EXPECT_TRUE (press (juce::KeyPress::pageDownKey));
    EXPECT_EQ (box.getValue(), 64.0);
    EXPECT_EQ (box.getText(), "64");
    EXPECT_EQ (listener.values, (std::vector<double>{65.0, 75.0, 74.0, 64.0}));

    // Steps from typed text, not from the value it would replace.
    box.setText ({}, false);
    box.insertTextAtCaret ("120");
    press (juce::KeyPress::pageUpKey);
    EXPECT_EQ (box.getValue(), 127.0) << "held at the top";
    press (juce::KeyPress::upKey);
    EXPECT_EQ (box.getValue(), 127.0);

    setRange (0, 127, 3);
    press (juce::KeyPress::pageDownKey);
    EXPECT_EQ (box.getValue(), 0.0) << "held at the bottom";
    EXPECT_FALSE (box.hasPendingText());
}

TEST_F (NumberBoxTest, EscapeDropsTypedTextAndTellsNobody)
{
    setRange (0, 127, 42);
    box.setText ({}, false);
    box.insertTextAtCaret ("99");
    ASSERT_TRUE (box.hasPendingText());

    EXPECT_TRUE (box.keyPressed (juce::KeyPress (juce::KeyPress::escapeKey)));
    EXPECT_EQ (box.getText(), "42");
    EXPECT_FALSE (box.hasPendingText());
    EXPECT_EQ (box.getValue(), 42.0);
    EXPECT_TRUE (listener.values.empty());
}

TEST_F (NumberBoxTest, TakingFocusSelectsTheTextSoTypingReplacesIt)
{
    setRange (0, 127, 0);
    // As the focus arrives by Tab; the window system is not needed to show what the box does then.
    box.focusGained (juce::Component::focusChangedByTabKey);
    EXPECT_EQ (box.getHighlightedText(), "0");
    box.insertTextAtCaret ("55");
    EXPECT_EQ (box.getText(), "55") << "not 055";
}

TEST_F (NumberBoxTest, CommandKeysGoOnToTheWindowExceptTheClipboards)
{
    setRange (0, 127, 12);
    const auto command = juce::ModifierKeys::commandModifier;
    for (const auto& key :
         {juce::KeyPress ('z', command, 0), juce::KeyPress ('y', command, 0),
          juce::KeyPress ('1', command, 0), juce::KeyPress (juce::KeyPress::leftKey, command, 0)})
        EXPECT_FALSE (box.keyPressed (key)) << key.getTextDescription();
    EXPECT_EQ (box.getText(), "12");

    EXPECT_TRUE (box.keyPressed (juce::KeyPress ('a', command, 0)));
    EXPECT_EQ (box.getHighlightedText(), "12");
}

TEST (NumberBox, KeysTypedRightAfterTheValueWasSetAreKeptWhenTheMessagesCatchUp)
{
    // A page opened and typed into at once: the value is set, and the keys come before the
    // message loop has run again.
    NumberBox box;
    box.setMinimum (1.0);
    box.setMaximum (16.0);
    box.setValue (1.0, false);
    box.setValue (3.0, false);
    box.setText ({}, false);
    box.insertTextAtCaret ("7");

    // Messages arrive in the order they were posted: once this one has, so have the value's.
    bool caughtUp = false;
    juce::MessageManager::callAsync ([&caughtUp] { caughtUp = true; });
    ASSERT_TRUE (runMessageLoopUntil ([&caughtUp] { return caughtUp; }));
    EXPECT_EQ (box.getText(), "7");
}
