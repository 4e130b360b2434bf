#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "support/ManualTimer.h"

#include "app/MonitorWindow.h"
#include "app/WindowManager.h"
#include "midi/CombinedMidiPorts.h"
#include "preset/ControlState.h"
#include "preset/ParameterIndex.h"

namespace
{
/** The factory preset with Knob 1 sending CC 74 on channel 2, and Pad 5 note 36 and the keybed on
    channel 2. */
PresetCodec::Image mappedPreset()
{
    auto image = factoryPresetData();
    const auto set = [&image] (const char* name, int value)
    { image.set (ParameterIndex::find (name)->offset, static_cast<juce::uint8> (value)); };
    set ("Knob 1 CC", 74);
    set ("Knob 1 MIDI Channel", 1);
    set ("Pad 5 Note", 36);
    set ("Pad 5 MIDI Channel", 1);
    set ("Keybed MIDI Channel", 1);
    return image;
}

class MonitorTest : public ::testing::Test
{
protected:
    MonitorTest()
    {
        midi.setInputDevice (SimulatedMarlo::deviceName);
        midi.setOutputDevice (SimulatedMarlo::deviceName);
    }

    MonitorComponent& makeMonitor()
    {
        auto drainTimer = std::make_unique<ManualTimer>();
        timer = drainTimer.get();
        monitor = std::make_unique<MonitorComponent> (midi, std::move (drainTimer), [this] { return now; });
        monitor->presetSource = [this] {
            return std::optional<MonitorComponent::WatchedPreset> ({"Mapped", preset});
        };
        return *monitor;
    }

    SimulatedMarlo& device() { return *midi.getPorts().getSimulatedMarlo(); }
    void inject (const juce::MidiMessage& message) { device().inject (message); }

    RecordingDialogs dialogs;
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    PresetCodec::Image preset = mappedPreset();
    double now = 1000.0;
    ManualTimer* timer = nullptr;
    std::unique_ptr<MonitorComponent> monitor;
};
} // namespace

TEST_F (MonitorTest, EachMessageInAndOutIsALineWithTheControlsThatSendIt)
{
    ASSERT_EQ (ControlState::find (preset, "Knob 1")->getModeName(), "CC");
    ASSERT_EQ (ControlState::find (preset, "Pad 5")->getModeName(), "Note");
    auto& shown = makeMonitor();

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
    EXPECT_EQ (shown.getLine (0).substring (0, 58).trimEnd(),
               "    1.500  in   cc              ch  2     74          64");
    EXPECT_TRUE (shown.getLine (0).endsWith ("  Knob 1"));
    EXPECT_EQ (shown.getLine (1).trimEnd(), "    1.600  out  program         ch  3      9           -");
    EXPECT_TRUE (shown.getLine (2).startsWith ("    1.700  in   note on         ch  2     36 C1      100"));
    const auto heading = shown.getHeading().getText();
    EXPECT_TRUE (heading.startsWith ("     Time  Dir  Message")) << heading;
    EXPECT_EQ (heading.indexOf ("Controls of Mapped"), shown.getLine (0).indexOf ("Knob 1")) << heading;
    EXPECT_EQ (heading.indexOf ("Note"), shown.getLine (2).indexOf ("C1")) << heading;
    EXPECT_TRUE (shown.getHeading().getTooltip().contains ("C3")) << "the convention is said";
    // The keybed plays any note: both are named, in the preset's order.
    EXPECT_TRUE (shown.getLine (2).endsWith ("  Keybed, Pad 5")) << shown.getLine (2);
    // Another channel: no control of this preset sends it.
    EXPECT_FALSE (shown.getLine (3).contains ("Pad 5"));
}

TEST_F (MonitorTest, ClockAndActiveSensingHideUntilAskedPauseStopsAndClearEmpties)
{
    auto& shown = makeMonitor();
    EXPECT_TRUE (shown.getHideClockButton().getToggleState());
    inject (juce::MidiMessage::midiClock());
    inject (juce::MidiMessage (0xfe));
    inject (juce::MidiMessage::controllerEvent (1, 7, 100));
    timer->fire();
    ASSERT_EQ (shown.getNumLines(), 1);

    shown.getHideClockButton().setToggleState (false, juce::sendNotification);
    inject (juce::MidiMessage::midiClock());
    inject (juce::MidiMessage (0xfe));
    timer->fire();
    ASSERT_EQ (shown.getNumLines(), 3);
    EXPECT_TRUE (shown.getLine (1).contains ("clock"));

    shown.getPauseButton().setToggleState (true, juce::sendNotification);
    inject (juce::MidiMessage::controllerEvent (1, 7, 1));
    timer->fire();
    EXPECT_EQ (shown.getNumLines(), 3);
    shown.getPauseButton().setToggleState (false, juce::sendNotification);
    inject (juce::MidiMessage::controllerEvent (1, 7, 2));
    timer->fire();
    EXPECT_EQ (shown.getNumLines(), 4);

    shown.getClearButton().triggerClick();
    runMessageLoopFor (20);
    EXPECT_EQ (shown.getNumLines(), 0);
}

TEST_F (MonitorTest, AFullFifoIsCountedAndOnlyTheLastLinesAreKept)
{
    auto& shown = makeMonitor();
    for (int i = 0; i < 5000; ++i)
        inject (juce::MidiMessage::controllerEvent (1, 1, i % 128));
    timer->fire();
    EXPECT_EQ (shown.getNumLines(), MidiMonitor::defaultCapacity);
    EXPECT_EQ (shown.getDroppedLabel().getText(), "904 messages not shown");

    for (int i = 0; i < 2000; ++i)
        inject (juce::MidiMessage::pitchWheel (1, i));
    timer->fire();
    ASSERT_EQ (shown.getNumLines(), MonitorComponent::keptLines);
    EXPECT_TRUE (shown.getLine (MonitorComponent::keptLines - 1).contains ("pitch bend"));
    EXPECT_TRUE (shown.getLine (2999).contains ("cc"));
    EXPECT_TRUE (shown.getLine (3000).contains ("pitch bend"));

    shown.clear();
    EXPECT_TRUE (shown.getDroppedLabel().getText().isEmpty());
}

TEST_F (MonitorTest, SelectedLinesCopyAsText)
{
    auto& shown = makeMonitor();
    for (int value : {10, 20, 30})
        inject (juce::MidiMessage::controllerEvent (1, 7, value));
    timer->fire();

    shown.getList().selectRow (0);
    shown.getList().selectRow (2, false, false);
    EXPECT_EQ (shown.selectedText(), shown.getLine (0).trimEnd() + "\n" + shown.getLine (2).trimEnd());

    juce::SystemClipboard::copyTextToClipboard ({});
    shown.copySelection();
    EXPECT_EQ (juce::SystemClipboard::getTextFromClipboard(), shown.selectedText() + "\n");
}

TEST_F (MonitorTest, TheSimulatedControllerIsPlayedFromTheMonitor)
{
    device().setPreset (preset);
    auto& shown = makeMonitor();
    ASSERT_NE (shown.getControlChoice(), nullptr);
    shown.getControlChoice()->setText ("Knob 1", juce::dontSendNotification);
    shown.getPlayValue().setText ("64");
    shown.getPlayButton().triggerClick();

    // The device plays from its own thread; the drain is still ours.
    ASSERT_TRUE (runMessageLoopUntil (
        [&]
        {
            timer->fire();
            return shown.getNumLines() > 0;
        }));
    EXPECT_TRUE (shown.getLine (0).contains ("cc              ch  2     74          64"))
        << shown.getLine (0);
    EXPECT_TRUE (shown.getLine (0).endsWith ("Knob 1"));
    EXPECT_TRUE (shown.getPlayProblem().getText().isEmpty());

    shown.getPlayValue().setText ("press");
    shown.playChosen();
    EXPECT_TRUE (shown.getPlayProblem().getText().contains ("number")) << shown.getPlayProblem().getText();

    // Only what can be played is offered, and the longest reply to a play shows whole.
    auto& choice = *shown.getControlChoice();
    EXPECT_EQ (choice.getNumItems(), 19);
    for (int i = 0; i < choice.getNumItems(); ++i)
        EXPECT_NE (choice.getItemText (i), "Keybed");
    choice.setText ("Pitch Wheel", juce::dontSendNotification);
    shown.getPlayValue().clear();
    shown.getPlayValue().insertTextAtCaret ("-123456789012345678");
    shown.playChosen();
    const auto& problem = shown.getPlayProblem();
    EXPECT_EQ (problem.getText(), "Pitch Wheel takes no number as large as -123456789012345");
    EXPECT_LE (
        problem.getFont().getStringWidthFloat (problem.getText()),
        static_cast<float> (problem.getBorderSize().subtractedFrom (problem.getLocalBounds()).getWidth()));
}

TEST_F (MonitorTest, WithoutTheSimulatedControllerThereIsNoPlayRow)
{
    midi.setPorts (std::make_unique<CombinedMidiPorts> (std::vector<std::unique_ptr<MidiPorts>>{}));
    auto& shown = makeMonitor();
    EXPECT_EQ (shown.getControlChoice(), nullptr);
    EXPECT_FALSE (shown.getPlayButton().isVisible());
}

TEST_F (MonitorTest, TabReachesEveryControlAndEscapeAsksToClose)
{
    auto& shown = makeMonitor();
    auto traverser = shown.createKeyboardFocusTraverser();
    const auto reachable = traverser->getAllComponents (&shown);
    for (auto* control : std::initializer_list<juce::Component*>{
             &shown.getList(), &shown.getPauseButton(), &shown.getClearButton(), &shown.getHideClockButton(),
             shown.getControlChoice(), &shown.getPlayValue(), &shown.getPlayButton()})
        EXPECT_TRUE (std::find (reachable.begin(), reachable.end(), control) != reachable.end())
            << control->getName() << control->getTitle();

    int closeRequests = 0;
    shown.onCloseRequested = [&closeRequests] { ++closeRequests; };
    const juce::KeyPress escape (juce::KeyPress::escapeKey);
    for (auto* origin : std::initializer_list<juce::Component*>{&shown.getList(), &shown.getPlayValue()})
        EXPECT_TRUE (shown.keyPressed (escape, origin));
    EXPECT_EQ (closeRequests, 2);

    // Ctrl+C copies the selected lines, except in the value box, which copies its own text.
    const juce::KeyPress copy ('c', juce::ModifierKeys::commandModifier, 0);
    EXPECT_TRUE (shown.keyPressed (copy, &shown.getList()));
    EXPECT_FALSE (shown.keyPressed (copy, &shown.getPlayValue()));
}

TEST_F (MonitorTest, TheWindowLightsTheWatchedDocumentsControlBriefly)
{
    juce::File lastDirectory;
    auto document = createEditorDocument (midi, "Untitled 1", &lastDirectory);
    ASSERT_TRUE (document->getController()->loadPresetData (preset));

    auto drainTimer = std::make_unique<ManualTimer>();
    auto* drains = drainTimer.get();
    juce::WeakReference<MonitorWindow> window =
        new MonitorWindow (midi, document.get(), std::move (drainTimer), [this] { return now; });
    EXPECT_EQ (window->getName(), "MIDI Monitor");
    EXPECT_FALSE (window->isResizable());
    ASSERT_NE (window->getLight(), nullptr);

    inject (juce::MidiMessage::controllerEvent (2, 74, 10));
    drains->fire();
    EXPECT_TRUE (window->getComponent().getLine (0).endsWith ("Knob 1"));
    EXPECT_TRUE (window->getLight()->isLit (PictureLight::partOf ("Knob 1")));
    EXPECT_FALSE (window->getLight()->isLit (PictureLight::partOf ("Pad 5")));
    EXPECT_EQ (PictureLight::partOf ("Knob 8"), PictureLight::partOf ("Knob 1"));
    EXPECT_EQ (PictureLight::partOf ("Mod Wheel"), PictureLight::partOf ("Pitch Wheel"));
    EXPECT_NE (PictureLight::partOf ("Pad 16"), PictureLight::partOf ("Knob 1"));
    EXPECT_EQ (PictureLight::partOf ("Sustain"), -1);

    now += PictureLight::litForMs + 1.0;
    drains->fire();
    EXPECT_FALSE (window->getLight()->isLit (PictureLight::partOf ("Knob 1")));

    // The document goes first: the monitor names nothing, and nothing is lit in a deleted picture.
    document.reset();
    inject (juce::MidiMessage::controllerEvent (2, 74, 11));
    drains->fire();
    EXPECT_EQ (window->getLight(), nullptr);
    EXPECT_FALSE (window->getComponent().getLine (1).contains ("Knob 1"));

    window->closeButtonPressed();
    EXPECT_TRUE (runMessageLoopUntil ([&window] { return window == nullptr; }));
}

TEST_F (MonitorTest, TheWindowMenuOpensOneMonitorInsideTheScreenWatchingTheDocument)
{
    juce::ApplicationCommandManager commands;
    juce::File lastDirectory;
    WindowManager windows (&midi, &commands, &lastDirectory);
    windows.newDocument();
    windows.showMonitor();
    auto* first = windows.getMonitorWindow();
    ASSERT_NE (first, nullptr);
    windows.showMonitor();
    EXPECT_EQ (windows.getMonitorWindow(), first) << "raised, not opened a second time";
    EXPECT_EQ (first->getWatchedDocument(), windows.getDocument (0));
    EXPECT_TRUE (first->isOnDesktop());

    const auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay();
    ASSERT_NE (display, nullptr);
    EXPECT_TRUE (display->userArea.contains (first->getBounds())) << first->getBounds().toString();

    // When the watched document closes, the monitor watches one that is still open.
    windows.newDocument();
    first->watch (windows.getDocument (0));
    dialogs.saveAnswers.push_back (Dialogs::SaveAnswer::no);
    windows.windowCloseRequested (windows.getDocument (0));
    ASSERT_EQ (windows.getNumDocuments(), 1);
    EXPECT_EQ (first->getWatchedDocument(), windows.getDocument (0));
}
