#include <gtest/gtest.h>

#include "editor/EditorComponent.h"
#include "editor/EditorTestSupport.h"
#include "editor/ZellControlView.h"
#include "midi/MidiManager.h"
#include "midi/SimulatedMarlo.h"
#include "preset/ControlSchema.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetController.h"
#include "preset/PresetLayout.h"
#include "preset/PresetModel.h"
#include "support/RecordingDialogs.h"

namespace
{
/** A document's editor and controller as a window makes them: only the main page is made. */
struct PageMadeWhenShownTest : public ::testing::Test
{
    PageMadeWhenShownTest() { controller->loadPresetData (factoryPresetData()); }

    ~PageMadeWhenShownTest() override
    {
        controller->detach();
        editor.reset();
        controller.reset();
    }

    /** The factory preset with Pad 3 and Switch 2 in modes other than the factory's and values in
        their boxes that no default holds. */
    static PresetCodec::Image editedImage (int padCc)
    {
        PresetModel model;
        const auto set = [&model] (const juce::String& name, int value)
        { EXPECT_TRUE (model.setStoredValue (name, value).wasOk()) << name; };
        set ("Pad 3 Mode", controlSchema (ControlType::Pad).indexOfMode ("CC Momentary"));
        set ("Pad 3 CC", padCc);
        set ("Pad 3 Released", 17);
        set ("Switch 2 Mode", controlSchema (ControlType::Switch).indexOfMode ("Program Change"));
        set ("Switch 2 Program", 101);
        set ("Knob 4 Max", 66);
        return model.getImage();
    }

    /** Every made binding against what the preset holds for it; the count of those compared. */
    int expectBoxesShowThePreset (const juce::String& when)
    {
        int compared = 0;
        for (const auto& entry : ParameterIndex::all())
            if (auto* value = dynamic_cast<ParameterValue*> (findByName (*editor, entry.name)))
            {
                ++compared;
                EXPECT_EQ (value->getValue(), *controller->getModel().getStoredValue (entry.name))
                    << when << ": " << entry.name;
            }
        return compared;
    }

    RecordingDialogs dialogs;
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    std::unique_ptr<PresetController> controller = createPresetController (midi);
    std::unique_ptr<EditorComponent> editor = createEditorComponent (controller.get());
};
} // namespace

TEST_F (PageMadeWhenShownTest, APageMadeAfterALoadShowsThePresetAndChangesNothing)
{
    EXPECT_EQ (findByName (*editor, "Knob 1 CC"), nullptr) << "a page that was never shown has boxes";

    const auto image = editedImage (88);
    ASSERT_TRUE (controller->loadPresetData (image));
    controller->clearUndoHistory();

    for (int page = 1; page < 7; ++page)
        ASSERT_TRUE (editor->showPage (page));

    EXPECT_EQ (expectBoxesShowThePreset ("after the load"), static_cast<int> (ParameterIndex::all().size()));
    EXPECT_EQ (controller->getPresetData(), image) << "making the pages wrote into the preset";
    EXPECT_FALSE (controller->canUndo()) << "making the pages recorded a step";

    // The rows follow the loaded mode, not the first one.
    auto* pad = dynamic_cast<ZellControlView*> (findByName (*editor, "Pad 3"));
    ASSERT_NE (pad, nullptr);
    juce::StringArray rows;
    for (auto* label : pad->getRowLabels())
        rows.add (label->getText());
    EXPECT_EQ (rows.joinIntoString (","), "Mode,MIDI Channel,CC,Pressed,Released");
}

TEST_F (PageMadeWhenShownTest, UndoReachesTheBoxesOfAPageMadeAfterTheStep)
{
    controller->clearUndoHistory();
    ASSERT_TRUE (controller->loadPresetData (editedImage (40)));
    ASSERT_TRUE (controller->loadPresetData (editedImage (90)));

    // The pads page is made only now, after both steps were recorded.
    ASSERT_TRUE (editor->showPage (3));
    auto* padCc = dynamic_cast<ParameterValue*> (findByName (*editor, "Pad 3 CC"));
    ASSERT_NE (padCc, nullptr);
    EXPECT_EQ (padCc->getValue(), 90.0);

    ASSERT_TRUE (controller->undo());
    EXPECT_EQ (padCc->getValue(), 40.0);
    expectBoxesShowThePreset ("after undo");

    ASSERT_TRUE (controller->undo());
    EXPECT_EQ (controller->getPresetData(), factoryPresetData());
    expectBoxesShowThePreset ("after the second undo");

    ASSERT_TRUE (controller->redo());
    EXPECT_EQ (padCc->getValue(), 40.0);
    EXPECT_EQ (controller->getPresetData(), editedImage (40));
}

TEST_F (PageMadeWhenShownTest, AnEditOnAPageMadeLateIsOneStepOfItsOwn)
{
    ASSERT_TRUE (editor->showPage (1));
    controller->clearUndoHistory();

    auto* knobCc = findAs<NumberBoxParameterValue> (*editor, "Knob 2 CC");
    ASSERT_NE (knobCc, nullptr);
    typeAndCommit (*knobCc, "77");
    EXPECT_EQ (*controller->getModel().getStoredValue ("Knob 2 CC"), 77);

    // Making another page in between adds nothing to undo.
    ASSERT_TRUE (editor->showPage (2));
    ASSERT_TRUE (controller->undo());
    EXPECT_EQ (controller->getPresetData(), factoryPresetData());
    EXPECT_FALSE (controller->canUndo());
}
