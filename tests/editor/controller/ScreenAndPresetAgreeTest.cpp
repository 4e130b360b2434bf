#include <gtest/gtest.h>

#include "EditedDocument.h"

namespace
{
using ScreenAndPresetAgreeTest = EditedDocument;

struct ModeCase
{
    ControlType type;
    juce::String control;
};
} // namespace

TEST_F (ScreenAndPresetAgreeTest, TheFaultsFoundByHandAreMended)
{
    // Switch 1: Toggle On 100, then "Program Change": the Bank LSB box shows 127 and so does byte 75.
    userEnters ("Switch 1 Toggle On", 100);
    userPicksMode ("Switch 1", "Program Change");
    EXPECT_EQ (binding ("Switch 1 Bank LSB").getValue(), 127.0);
    EXPECT_EQ (controller->getPresetData()[75], 127);

    // Pad 1: Note 60, then "CC Toggle": the CC box shows 49 and so does byte 34.
    userEnters ("Pad 1 Note", 60);
    userPicksMode ("Pad 1", "CC Toggle");
    EXPECT_EQ (binding ("Pad 1 CC").getValue(), 49.0);
    EXPECT_EQ (controller->getPresetData()[34], 49);

    // Pad 2: Released 100 in "CC Momentary", to "Note" and back: byte 41 holds 100 again.
    userPicksMode ("Pad 2", "CC Momentary");
    userEnters ("Pad 2 Released", 100);
    userPicksMode ("Pad 2", "Note");
    EXPECT_EQ (controller->getPresetData()[41], binding ("Pad 2 Curve").getValue());
    userPicksMode ("Pad 2", "CC Momentary");
    EXPECT_EQ (binding ("Pad 2 Released").getValue(), 100.0);
    EXPECT_EQ (controller->getPresetData()[41], 100);
    expectModelAgrees();
}

TEST_F (ScreenAndPresetAgreeTest, EveryModeChangeOfPadsAndSwitchesLeavesTheBytesAsShown)
{
    for (const auto& [type, control] :
         {ModeCase{ControlType::Pad, "Pad 3"}, ModeCase{ControlType::Switch, "Switch 4"}})
    {
        const auto& schema = controlSchema (type);
        for (const auto& from : schema.getModes())
        {
            for (const auto& to : schema.getModes())
            {
                if (from.name == to.name)
                    continue;
                SCOPED_TRACE ((control + ": " + from.name + " -> " + to.name).toStdString());
                userPicksMode (control, from.name);
                // A distinct value into each shared byte's box, within the box's range.
                int value = 3;
                for (const auto& label : from.labels)
                    if (label != "Mode" && label != "MIDI Channel")
                        userEnters (control + " " + label,
                                    value++ % (binding (control + " " + label).getMaximum (true) + 1));
                userPicksMode (control, to.name);
                for (const auto& label : to.labels)
                    EXPECT_EQ (binding (control + " " + label).getValue(), byteOf (control + " " + label))
                        << label;
                expectModelAgrees();
            }
        }
    }
}

TEST_F (ScreenAndPresetAgreeTest, RandomEditsLoadsAndModeChangesKeepScreenImageAndModelInStep)
{
    for (int step = 0; step < 300; ++step)
    {
        const auto choice = std::uniform_int_distribution<int> (0, 9) (random);
        if (choice == 0)
        {
            const auto image = randomValidImage();
            ASSERT_TRUE (controller->loadPresetData (image));
            ASSERT_TRUE (model.load (image).wasOk());
            ASSERT_EQ (bytes (controller->getPresetData()), bytes (image))
                << "after a load the dump is the loaded bytes";
        }
        else
        {
            // Hidden boxes come back into view when the same walk changes a mode back.
            userEntersARandomValue();
        }
        expectEveryShownBoxMatchesItsByte();
        expectModelAgrees();

        // What the editor writes always loads again.
        PresetCodec::Image reloaded;
        const auto file = PresetCodec::encodeFile (controller->getPresetData());
        ASSERT_TRUE (PresetCodec::decodeFile (file.getData(), file.getSize(), reloaded).wasOk()) << step;
    }
}

TEST_F (ScreenAndPresetAgreeTest, ALoadLeavesTheImageExactlyAsLoadedWhateverHiddenBoxesRefuse)
{
    for (int round = 0; round < 100; ++round)
    {
        auto image = randomValidImage();
        // Pads in controller modes with byte +3 above any curve: the hidden Curve box refuses it.
        for (int pad = 1; pad <= 8; ++pad)
            if (image[controlOffset (ControlType::Pad, pad)] != 0)
                image.set (controlOffset (ControlType::Pad, pad) + 3, 100);
        ASSERT_TRUE (controller->loadPresetData (image));
        ASSERT_EQ (bytes (controller->getPresetData()), bytes (image));
        ASSERT_TRUE (model.load (image).wasOk());
        expectModelAgrees();
    }
    EXPECT_TRUE (dialogs.alertsShown().empty());
}

TEST_F (ScreenAndPresetAgreeTest, AHiddenBoxLosingFocusLateWritesNothing)
{
    userPicksMode ("Pad 1", "CC Momentary");
    userEnters ("Pad 1 Released", 64);
    userPicksMode ("Pad 1", "Note");
    const auto before = controller->getPresetData();

    // The hidden Released box had the focus; its loss of focus arrives after the mode change.
    auto* released = findAs<NumberBoxParameterValue> (*editor, "Pad 1 Released");
    ASSERT_FALSE (released->isVisible());
    released->textEditorFocusLost (*released);
    EXPECT_EQ (bytes (controller->getPresetData()), bytes (before));
    expectEveryShownBoxMatchesItsByte();
}
