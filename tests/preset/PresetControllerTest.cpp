#include <gtest/gtest.h>

#include "support/BoundPreset.h"
#include "support/MessageLoop.h"
#include "support/RecordingDialogs.h"

#include "midi/SimulatedMarlo.h"

namespace
{
class ActionRecorder final : public juce::ActionListener
{
public:
    void actionListenerCallback (const juce::String& message) override { messages.add (message); }
    juce::StringArray messages;
};

class PresetControllerTest : public ::testing::Test
{
protected:
    RecordingDialogs dialogs;
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    std::unique_ptr<PresetController> controller = createPresetController (midi);
    BoundPreset preset{*controller};

    void loadFactoryImage() { ASSERT_TRUE (controller->loadPresetData (factoryPresetData())); }
};
} // namespace

TEST_F (PresetControllerTest, AValueReportedByABindingIsWrittenAtItsOffset)
{
    preset["Pad 3 CC"].userSets (99);
    EXPECT_EQ (controller->getPresetData()[44], 99);

    // The other meanings of the byte keep showing what they showed until the next load.
    EXPECT_EQ (preset["Pad 3 Note"].getValue(), 0.0);
    preset["Pad 3 Note"].userSets (60);
    EXPECT_EQ (controller->getPresetData()[44], 60);

    preset["Keybed Transpose"].userSets (24);
    EXPECT_EQ (controller->getPresetData()[0], 24);
}

TEST_F (PresetControllerTest, ABindingWithAnUnknownNameNeverReachesTheImage)
{
    FakeParameterValue stranger ("Knob 10 CC", 0, 127);
    stranger.addListener (controller.get());
    const auto before = controller->getPresetData();
    stranger.userSets (55);
    EXPECT_EQ (controller->getPresetData(), before);

    stranger.setValueCalls = 0;
    loadFactoryImage();
    EXPECT_EQ (stranger.setValueCalls, 0);
}

TEST_F (PresetControllerTest, LoadingSetsEveryBindingAndTheImage)
{
    auto data = factoryPresetData();
    data.set (44, 77);
    data.set (2, 15);
    ASSERT_TRUE (controller->loadPresetData (data));

    EXPECT_EQ (controller->getPresetData(), data);
    EXPECT_EQ (preset["Keybed MIDI Channel"].getValue(), 15.0);
    for (const auto* name : {"Pad 3 Note", "Pad 3 CC", "Pad 3 Program"})
        EXPECT_EQ (preset[name].getValue(), 77.0) << name;
}

TEST_F (PresetControllerTest, AnImageThatFailsTheCheckChangesNothing)
{
    loadFactoryImage();
    const auto before = controller->getPresetData();

    auto badChannel = factoryPresetData();
    badChannel.set (2, 16);
    EXPECT_FALSE (controller->loadPresetData (badChannel));

    auto badMode = factoryPresetData();
    badMode.set (13, 2); // knobs have two modes
    EXPECT_FALSE (controller->loadPresetData (badMode));

    auto tooShort = factoryPresetData();
    tooShort.removeLast();
    EXPECT_FALSE (controller->loadPresetData (tooShort));
    auto tooLong = factoryPresetData();
    tooLong.add (0);
    EXPECT_FALSE (controller->loadPresetData (tooLong));

    EXPECT_EQ (controller->getPresetData(), before);
    EXPECT_EQ (preset["Keybed MIDI Channel"].getValue(), 0.0);
}

TEST_F (PresetControllerTest, APadsCurveByteIsCheckedByThePadsOwnMode)
{
    constexpr int pad2Mode = 38, pad2Byte3 = 41;
    auto data = factoryPresetData();

    data.set (pad2Mode, 0); // "Note": byte +3 is the curve, 0 to 7
    data.set (pad2Byte3, 7);
    EXPECT_TRUE (controller->validatePresetData (data));
    data.set (pad2Byte3, 8);
    EXPECT_FALSE (controller->validatePresetData (data));

    for (juce::uint8 mode : {1, 2, 3}) // the other modes store 0 to 127 there
    {
        data.set (pad2Mode, mode);
        data.set (pad2Byte3, 127);
        EXPECT_TRUE (controller->validatePresetData (data)) << int (mode);
    }
    ASSERT_TRUE (controller->loadPresetData (data));
    EXPECT_EQ (controller->getPresetData()[pad2Byte3], 127);
}

TEST_F (PresetControllerTest, APadSwitchedToNoteTakesItsCurveSoTheSavedPresetLoadsAgain)
{
    loadFactoryImage();
    preset["Pad 1 Mode"].userSets (1);         // "CC Toggle"
    preset["Pad 1 Toggle Off"].userSets (100); // byte +3
    EXPECT_EQ (controller->getPresetData()[36], 100);

    preset["Pad 1 Mode"].userSets (0); // back to "Note": byte +3 is the curve again
    EXPECT_EQ (controller->getPresetData()[36], preset["Pad 1 Curve"].getValue());
    EXPECT_TRUE (controller->validatePresetData (controller->getPresetData()));
}

TEST_F (PresetControllerTest, TransferButtonsAreRecognisedByName)
{
    ActionRecorder recorder;
    controller->addActionListener (&recorder);

    juce::TextButton saveToDisk ("Save To HD"), loadFromDisk ("Load From HD"), other ("Save to HD");
    controller->buttonClicked (&saveToDisk);
    // Delivered later through the message queue, not inside the click.
    EXPECT_TRUE (recorder.messages.isEmpty());
    controller->buttonClicked (&other);
    controller->buttonClicked (&loadFromDisk);
    runMessageLoopFor (30);
    EXPECT_EQ (recorder.messages, juce::StringArray ({"Save As", "Open"}));
}

TEST_F (PresetControllerTest, WithoutDevicesTransfersAskForADevice)
{
    juce::TextButton get ("Load From MIDI"), send ("Save To MIDI");
    controller->buttonClicked (&get);
    controller->buttonClicked (&send);
    ASSERT_EQ (dialogs.alertsShown().size(), 2u);
    for (const auto& alert : dialogs.alertsShown())
    {
        EXPECT_EQ (alert.title, "No MIDI Device selected.");
        EXPECT_EQ (alert.message, "Please select a device using the Device Setup option.");
    }
    EXPECT_FALSE (controller->isAwaitingReply());
}

TEST_F (PresetControllerTest, DetachedControllerForgetsItsBindings)
{
    loadFactoryImage();
    controller->detach();
    preset["Pad 3 CC"].setValueCalls = 0;
    EXPECT_TRUE (controller->loadPresetData (factoryPresetData()));
    EXPECT_EQ (preset["Pad 3 CC"].setValueCalls, 0);
}
