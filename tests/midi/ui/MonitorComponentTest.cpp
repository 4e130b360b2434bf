#include <gtest/gtest.h>

#include "MonitorComponentProbe.h"
#include "MonitorFixture.h"

#include "midi/CombinedMidiPorts.h"

TEST_F (MonitorTest, EachMessageInAndOutIsALineWithTheControlsThatSendIt)
{
    ASSERT_EQ (ControlState::find (preset, "Knob 1")->getModeName(), "CC");
    ASSERT_EQ (ControlState::find (preset, "Pad 5")->getModeName(), "Note");
    auto& shown = makeMonitor();
    const MonitorComponentProbe seen{shown};

    now = 2500.0;
    inject (juce::MidiMessage::controllerEvent (2, 74, 64));
    now = 2600.0;
    midi.sendMessage (juce::MidiMessage::programChange (3, 9));
    now = 2700.0;
    inject (juce::MidiMessage::noteOn (2, 36, static_cast<juce::uint8> (100)));
    inject (juce::MidiMessage::noteOn (5, 36, static_cast<juce::uint8> (100)));
    EXPECT_EQ (shown.getNumLines(), 0) << "nothing shows before the drain";
    timer->fire();

    ASSERT_EQ (shown.getNumLines(), 4);
    // Newest at the bottom: time from the monitor's opening, direction, kind, channel, number, the
    // note's name, value; under the names of the columns, the last naming the document matched.
    EXPECT_EQ (seen.getLine (0).substring (0, 58).trimEnd(),
               "    1.500  in   cc              ch  2     74          64");
    EXPECT_TRUE (seen.getLine (0).endsWith ("  Knob 1"));
    EXPECT_EQ (seen.getLine (1).trimEnd(), "    1.600  out  program         ch  3      9           -");
    EXPECT_TRUE (seen.getLine (2).startsWith ("    1.700  in   note on         ch  2     36 C1      100"));
    const auto heading = seen.getHeading().getText();
    EXPECT_TRUE (heading.startsWith ("     Time  Dir  Message")) << heading;
    EXPECT_EQ (heading.indexOf ("Controls of Mapped"), seen.getLine (0).indexOf ("Knob 1")) << heading;
    EXPECT_EQ (heading.indexOf ("Note"), seen.getLine (2).indexOf ("C1")) << heading;
    EXPECT_TRUE (seen.getHeading().getTooltip().contains ("C3")) << "the convention is said";
    // The keybed plays any note: both are named, in the preset's order.
    EXPECT_TRUE (seen.getLine (2).endsWith ("  Keybed, Pad 5")) << seen.getLine (2);
    // Another channel: no control of this preset sends it.
    EXPECT_FALSE (seen.getLine (3).contains ("Pad 5"));
}

TEST_F (MonitorTest, ClockAndActiveSensingHideUntilAskedPauseStopsAndClearEmpties)
{
    auto& shown = makeMonitor();
    const MonitorComponentProbe seen{shown};
    EXPECT_TRUE (seen.getHideClockButton().getToggleState());
    inject (juce::MidiMessage::midiClock());
    inject (juce::MidiMessage (0xfe));
    inject (juce::MidiMessage::controllerEvent (1, 7, 100));
    timer->fire();
    ASSERT_EQ (shown.getNumLines(), 1);

    seen.getHideClockButton().setToggleState (false, juce::sendNotification);
    inject (juce::MidiMessage::midiClock());
    inject (juce::MidiMessage (0xfe));
    timer->fire();
    ASSERT_EQ (shown.getNumLines(), 3);
    EXPECT_TRUE (seen.getLine (1).contains ("clock"));

    seen.getPauseButton().setToggleState (true, juce::sendNotification);
    inject (juce::MidiMessage::controllerEvent (1, 7, 1));
    timer->fire();
    EXPECT_EQ (shown.getNumLines(), 3);
    seen.getPauseButton().setToggleState (false, juce::sendNotification);
    inject (juce::MidiMessage::controllerEvent (1, 7, 2));
    timer->fire();
    EXPECT_EQ (shown.getNumLines(), 4);

    seen.getClearButton().triggerClick();
    runMessageLoopFor (20);
    EXPECT_EQ (shown.getNumLines(), 0);
}

TEST_F (MonitorTest, AFullFifoIsCountedAndOnlyTheLastLinesAreKept)
{
    auto& shown = makeMonitor();
    const MonitorComponentProbe seen{shown};
    for (int i = 0; i < 5000; ++i)
        inject (juce::MidiMessage::controllerEvent (1, 1, i % 128));
    timer->fire();
    EXPECT_EQ (shown.getNumLines(), MidiMonitor::defaultCapacity);
    EXPECT_EQ (seen.getDroppedLabel().getText(), "904 messages not shown");

    for (int i = 0; i < 2000; ++i)
        inject (juce::MidiMessage::pitchWheel (1, i));
    timer->fire();
    ASSERT_EQ (shown.getNumLines(), MonitorComponent::keptLines);
    EXPECT_TRUE (seen.getLine (MonitorComponent::keptLines - 1).contains ("pitch bend"));
    EXPECT_TRUE (seen.getLine (2999).contains ("cc"));
    EXPECT_TRUE (seen.getLine (3000).contains ("pitch bend"));

    shown.clear();
    EXPECT_TRUE (seen.getDroppedLabel().getText().isEmpty());
}

TEST_F (MonitorTest, SelectedLinesCopyAsText)
{
    auto& shown = makeMonitor();
    const MonitorComponentProbe seen{shown};
    for (int value : {10, 20, 30})
        inject (juce::MidiMessage::controllerEvent (1, 7, value));
    timer->fire();

    shown.getList().selectRow (0);
    shown.getList().selectRow (2, false, false);
    EXPECT_EQ (shown.selectedText(), seen.getLine (0).trimEnd() + "\n" + seen.getLine (2).trimEnd());

    juce::SystemClipboard::copyTextToClipboard ({});
    shown.copySelection();
    EXPECT_EQ (juce::SystemClipboard::getTextFromClipboard(), shown.selectedText() + "\n");
}

TEST_F (MonitorTest, TheSimulatedControllerIsPlayedFromTheMonitor)
{
    device().setPreset (preset);
    auto& shown = makeMonitor();
    const MonitorComponentProbe seen{shown};
    ASSERT_NE (seen.getControlChoice(), nullptr);
    seen.getControlChoice()->setText ("Knob 1", juce::dontSendNotification);
    seen.getPlayValue().setText ("64");
    seen.getPlayButton().triggerClick();

    // The device plays from its own thread; the drain is still ours.
    ASSERT_TRUE (runMessageLoopUntil (
        [&]
        {
            timer->fire();
            return shown.getNumLines() > 0;
        }));
    EXPECT_TRUE (seen.getLine (0).contains ("cc              ch  2     74          64")) << seen.getLine (0);
    EXPECT_TRUE (seen.getLine (0).endsWith ("Knob 1"));
    EXPECT_TRUE (seen.getPlayProblem().getText().isEmpty());

    seen.getPlayValue().setText ("press");
    shown.playChosen();
    EXPECT_TRUE (seen.getPlayProblem().getText().contains ("number")) << seen.getPlayProblem().getText();

    // Only what can be played is offered, and the longest reply to a play shows whole.
    auto& choice = *seen.getControlChoice();
    EXPECT_EQ (choice.getNumItems(), 19);
    for (int i = 0; i < choice.getNumItems(); ++i)
        EXPECT_NE (choice.getItemText (i), "Keybed");
    choice.setText ("Pitch Wheel", juce::dontSendNotification);
    seen.getPlayValue().clear();
    seen.getPlayValue().insertTextAtCaret ("-123456789012345678");
    shown.playChosen();
    const auto& problem = seen.getPlayProblem();
    EXPECT_EQ (problem.getText(), "Pitch Wheel takes no number as large as -123456789012345");
    EXPECT_LE (
        problem.getFont().getStringWidthFloat (problem.getText()),
        static_cast<float> (problem.getBorderSize().subtractedFrom (problem.getLocalBounds()).getWidth()));
}

TEST_F (MonitorTest, WithoutTheSimulatedControllerThereIsNoPlayRow)
{
    midi.setPorts (std::make_unique<CombinedMidiPorts> (std::vector<std::unique_ptr<MidiPorts>>{}));
    auto& shown = makeMonitor();
    const MonitorComponentProbe seen{shown};
    EXPECT_EQ (seen.getControlChoice(), nullptr);
    EXPECT_FALSE (seen.getPlayButton().isVisible());
}

TEST_F (MonitorTest, TabReachesEveryControlAndEscapeAsksToClose)
{
    auto& shown = makeMonitor();
    const MonitorComponentProbe seen{shown};
    auto traverser = shown.createKeyboardFocusTraverser();
    const auto reachable = traverser->getAllComponents (&shown);
    for (auto* control : std::initializer_list<juce::Component*>{
             &shown.getList(), &seen.getPauseButton(), &seen.getClearButton(), &seen.getHideClockButton(),
             seen.getControlChoice(), &seen.getPlayValue(), &seen.getPlayButton()})
        EXPECT_TRUE (std::find (reachable.begin(), reachable.end(), control) != reachable.end())
            << control->getName() << control->getTitle();

    int closeRequests = 0;
    shown.onCloseRequested = [&closeRequests] { ++closeRequests; };
    const juce::KeyPress escape (juce::KeyPress::escapeKey);
    for (auto* origin : std::initializer_list<juce::Component*>{&shown.getList(), &seen.getPlayValue()})
        EXPECT_TRUE (shown.keyPressed (escape, origin));
    EXPECT_EQ (closeRequests, 2);

    // Ctrl+C copies the selected lines, except in the value box, which copies its own text.
    const juce::KeyPress copy ('c', juce::ModifierKeys::commandModifier, 0);
    EXPECT_TRUE (shown.keyPressed (copy, &shown.getList()));
    EXPECT_FALSE (shown.keyPressed (copy, &seen.getPlayValue()));
}
