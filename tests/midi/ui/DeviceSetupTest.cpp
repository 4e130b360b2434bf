#include <gtest/gtest.h>

#include "support/MessageLoop.h"
#include "support/RecordingDialogs.h"
#include "support/WindowChecks.h"

#include "midi/CombinedMidiPorts.h"
#include "midi/DeviceManagerWindow.h"
#include "midi/SimulatedMarlo.h"

namespace
{
/** A device service with names of our choosing; it records what was opened. */
class ListedPorts final : public MidiPorts
{
public:
    struct Log
    {
        juce::StringArray opened;
    };

    ListedPorts (juce::StringArray in, juce::StringArray out, Log& l) : inputs (in), outputs (out), log (l) {}

    juce::StringArray getInputNames() override { return inputs; }
    juce::StringArray getOutputNames() override { return outputs; }

    std::unique_ptr<Input> openInput (int index, juce::MidiInputCallback&) override
    {
        log.opened.add ("in:" + inputs[index]);
        return std::make_unique<NullInput>();
    }

    std::unique_ptr<Output> openOutput (int index) override
    {
        log.opened.add ("out:" + outputs[index]);
        return std::make_unique<NullOutput>();
    }

private:
    struct NullInput final : public Input
    {
        void start() override {}
    };
    struct NullOutput final : public Output
    {
        void sendMessageNow (const juce::MidiMessage&) override {}
    };

    juce::StringArray inputs, outputs;
    Log& log;
};

class DeviceSetupTest : public ::testing::Test
{
protected:
    DeviceManagerWindow& openWindow()
    {
        window = new DeviceManagerWindow (midi);
        return *window;
    }

    ~DeviceSetupTest() override { delete window.get(); }

    DeviceManagerComponent& component() { return window->getComponent(); }

    void click (juce::Button& button)
    {
        button.triggerClick();
        runMessageLoopFor (30);
    }

    RecordingDialogs dialogs;
    ListedPorts::Log log;
    MidiManager midi{std::make_unique<ListedPorts> (juce::StringArray{"Keys In", "Marlo", "Pads In"},
                                                    juce::StringArray{"Synth Out", "Marlo"}, log)};
    juce::WeakReference<DeviceManagerWindow> window;
};
} // namespace

TEST_F (DeviceSetupTest, TheWindowListsTheDevicesAndIsBuiltToSize)
{
    openWindow();
    EXPECT_EQ (window->getName(), "Orvane Brindle Editor Device Setup");
    EXPECT_EQ (component().getWidth(), 360);
    // The picture's 425 rows and the check box under the lists.
    EXPECT_EQ (component().getHeight(), 453);
    EXPECT_FALSE (window->isResizable());
    EXPECT_TRUE (window->isOnDesktop());

    EXPECT_EQ (component().getInputList().getName(), "Input Devices");
    EXPECT_EQ (component().getOutputList().getName(), "Output Devices");
    EXPECT_EQ (component().getInputList().getModel()->getNumRows(), 3);
    EXPECT_EQ (component().getOutputList().getModel()->getNumRows(), 2);
    EXPECT_EQ (component().getInputList().getBounds(), juce::Rectangle<int> (15, 69, 327, 123));
    EXPECT_EQ (component().getOutputList().getBounds(), juce::Rectangle<int> (15, 240, 327, 123));
    EXPECT_EQ (component().getOkButton().getBounds(), juce::Rectangle<int> (16, 409, 72, 32));
    EXPECT_EQ (component().getApplyButton().getBounds(), juce::Rectangle<int> (248, 409, 88, 30));
    EXPECT_EQ (component().getCancelButton().getBounds(), juce::Rectangle<int> (120, 409, 88, 30));

    // Nothing chosen yet: nothing selected.
    EXPECT_EQ (component().getSelectedInputRow(), -1);
    EXPECT_EQ (component().getSelectedOutputRow(), -1);
}

TEST_F (DeviceSetupTest, TheCurrentDevicesArePreselected)
{
    midi.setInputDevice ("Pads In");
    midi.setOutputDevice ("Marlo");
    openWindow();

    EXPECT_EQ (component().getSelectedInputRow(), 2);
    EXPECT_EQ (component().getSelectedOutputRow(), 1);
}

TEST_F (DeviceSetupTest, WithDuplicateNamesTheLastEqualRowIsSelected)
{
    midi.setPorts (std::make_unique<ListedPorts> (juce::StringArray{"Twin", "Other", "Twin"},
                                                  juce::StringArray{"Twin", "Twin"}, log));
    midi.setInputDevice ("Twin");
    midi.setOutputDevice ("Twin");
    openWindow();

    EXPECT_EQ (component().getSelectedInputRow(), 2);
    EXPECT_EQ (component().getSelectedOutputRow(), 1);
    EXPECT_EQ (component().getInputList().getNumSelectedRows(), 1);
}

TEST_F (DeviceSetupTest, OkAppliesTheSelectionOutputFirstAndThenCloses)
{
    openWindow();
    component().selectInputRow (1);
    component().selectOutputRow (0);

    click (component().getOkButton());

    EXPECT_EQ (log.opened, juce::StringArray ({"out:Synth Out", "in:Marlo"}));
    EXPECT_EQ (midi.getInputDeviceName(), "Marlo");
    EXPECT_EQ (midi.getOutputDeviceName(), "Synth Out");
    EXPECT_EQ (window.get(), nullptr);
}

TEST_F (DeviceSetupTest, ApplyKeepsTheWindowAndAnUnselectedListKeepsItsDevice)
{
    midi.setInputDevice ("Keys In");
    midi.setOutputDevice ("Synth Out");
    log.opened.clear();
    openWindow();

    component().getInputList().deselectAllRows();
    component().selectOutputRow (1);
    click (component().getApplyButton());

    EXPECT_NE (window.get(), nullptr);
    EXPECT_EQ (log.opened, juce::StringArray ({"out:Marlo"}));
    EXPECT_TRUE (midi.isInputOpen());
    EXPECT_TRUE (midi.isOutputOpen());
    EXPECT_EQ (midi.getOutputDeviceName(), "Marlo");
}

TEST_F (DeviceSetupTest, CancelClosesWithoutTouchingTheMidiManager)
{
    midi.setInputDevice ("Keys In");
    log.opened.clear();
    openWindow();
    component().selectInputRow (2);
    component().selectOutputRow (1);

    click (component().getCancelButton());

    EXPECT_EQ (window.get(), nullptr);
    EXPECT_TRUE (log.opened.isEmpty());
    EXPECT_EQ (midi.getInputDeviceName(), "Keys In");
    EXPECT_TRUE (midi.getOutputDeviceName().isEmpty());
}

TEST_F (DeviceSetupTest, TheWindowSystemsCloseButtonActsAsCancel)
{
    openWindow();
    component().selectOutputRow (1);
    window->userTriedToCloseWindow();
    runMessageLoopFor (30);

    EXPECT_EQ (window.get(), nullptr);
    EXPECT_TRUE (log.opened.isEmpty());
}

TEST_F (DeviceSetupTest, TheSimulatedDeviceCanBeChosenFromTheLists)
{
    midi.setPorts (std::make_unique<CombinedMidiPorts> (
        []
        {
            std::vector<std::unique_ptr<MidiPorts>> parts;
            parts.push_back (std::make_unique<SimulatedMarlo>());
            return parts;
        }()));
    openWindow();
    ASSERT_EQ (component().getInputList().getModel()->getNumRows(), 1);

    // The simulated device can be chosen from the list like any other.
    component().selectInputRow (0);
    component().selectOutputRow (0);
    click (component().getOkButton());
    EXPECT_TRUE (midi.isInputOpen());
    EXPECT_TRUE (midi.isOutputOpen());
    EXPECT_EQ (midi.getInputDeviceName(), SimulatedMarlo::deviceName);
}

TEST_F (DeviceSetupTest, ReturnInAListIsOkAndEscapeIsCancel)
{
    openWindow();
    component().selectInputRow (1);
    component().selectOutputRow (0);
    // As the window system delivers it, to the focused list, which would take Return for its rows.
    ASSERT_TRUE (activate (*window));
    component().getInputList().grabKeyboardFocus();
    ASSERT_TRUE (component().getInputList().hasKeyboardFocus (true));
    EXPECT_TRUE (window->getPeer()->handleKeyPress (juce::KeyPress (juce::KeyPress::returnKey)));
    runMessageLoopFor (30);
    EXPECT_EQ (log.opened, juce::StringArray ({"out:Synth Out", "in:Marlo"}));
    EXPECT_EQ (window.get(), nullptr);

    log.opened.clear();
    openWindow();
    component().selectInputRow (2);
    EXPECT_TRUE (window->keyPressed (juce::KeyPress (juce::KeyPress::escapeKey)));
    runMessageLoopFor (30);
    EXPECT_EQ (window.get(), nullptr);
    EXPECT_TRUE (log.opened.isEmpty());
}

TEST_F (DeviceSetupTest, EveryFocusableControlShowsARingThatStandsOutFromWhatLiesBehind)
{
    openWindow();
    ASSERT_TRUE (activate (*window));
    auto& root = component();
    const auto controls = root.createKeyboardFocusTraverser()->getAllComponents (&root);
    for (auto* control : controls)
        expectRingStandsOut (root, *control);
    EXPECT_GE (controls.size(), 5u) << "two lists and three buttons";
}

TEST_F (DeviceSetupTest, TheSelectionFollowsTheDevicesNameAsTheListsChangeWhileOpen)
{
    openWindow();
    component().selectInputRow (1);
    component().selectOutputRow (1);

    // A device plugged in ahead of it moves the Marlo's rows.
    window->followLists ({"New In", "Keys In", "Pads In", "Marlo"}, {"Marlo", "Synth Out"});
    EXPECT_EQ (component().getInputList().getModel()->getNumRows(), 4);
    EXPECT_EQ (component().getSelectedInputRow(), 3);
    EXPECT_EQ (component().getSelectedOutputRow(), 0);

    // Unplugged, nothing is selected in its place; back at yet another row, it is selected again.
    window->followLists ({"New In", "Keys In"}, {"Synth Out"});
    EXPECT_EQ (component().getSelectedInputRow(), -1);
    EXPECT_EQ (component().getSelectedOutputRow(), -1);
    window->followLists ({"Marlo", "Keys In"}, {"Synth Out", "Marlo"});
    EXPECT_EQ (component().getSelectedInputRow(), 0);
    EXPECT_EQ (component().getSelectedOutputRow(), 1);

    click (component().getOkButton());
    EXPECT_EQ (midi.getInputDeviceName(), "Marlo");
    EXPECT_EQ (midi.getOutputDeviceName(), "Marlo");
}
