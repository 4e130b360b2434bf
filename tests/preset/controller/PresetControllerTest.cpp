#include <gtest/gtest.h>

#include "support/BoundPreset.h"
#include "support/MessageLoop.h"
#include "support/RecordingDialogs.h"

#include "midi/SimulatedMarlo.h"
#include "preset/ParameterIndex.h"

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

TEST_F (PresetControllerTest, UndoAndRedoGiveBackEachStepsImageAndTheModelFollowsTheBoxes)
{
    loadFactoryImage();
    controller->clearUndoHistory();
    const auto boxesAgreeWithModel = [this]
    {
        for (const auto& entry : ParameterIndex::all())
            if (controller->getModel().getStoredValue (entry.name) !=
                static_cast<int> (preset[entry.name].getValue()))
                return testing::AssertionFailure() << entry.name;
        if (!controller->getModel().shownBoxesMatchImage())
            return testing::AssertionFailure() << "a shown box differs from its byte";
        return testing::AssertionSuccess();
    };

    // Byte 44 holds Pad 3's note, CC or program, whichever its mode shows: after each undo it must
    // hold what that step showed, not what the last box restored on it happens to hold.
    ASSERT_EQ (controller->getPresetData()[43], 0); // the pad plays notes
    std::vector<PresetCodec::Image> images{controller->getPresetData()};
    for (const auto& [name, value] : std::vector<std::pair<const char*, int>>{
             {"Pad 3 Note", 60}, {"Pad 3 Mode", 1}, {"Pad 3 CC", 99}, {"Pad 3 Mode", 0}})
    {
        preset[name].userSets (value);
        images.push_back (controller->getPresetData());
    }
    ASSERT_EQ (images[1][44], 60);
    ASSERT_EQ (images[3][44], 99);
    ASSERT_EQ (images[4][44], 60);

    for (auto step = images.size() - 1; step-- > 0;)
    {
        ASSERT_TRUE (controller->undo());
        EXPECT_EQ (controller->getPresetData(), images[step]) << "undone to step " << step;
        EXPECT_TRUE (boxesAgreeWithModel()) << "undone to step " << step;
    }
    for (size_t step = 1; step < images.size(); ++step)
    {
        ASSERT_TRUE (controller->redo());
        EXPECT_EQ (controller->getPresetData(), images[step]) << "redone to step " << step;
        EXPECT_TRUE (boxesAgreeWithModel()) << "redone to step " << step;
    }
}
