#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editor/ZellControlView.h"
#include "editor/ZellKeyboardControlReferenceData.h"
#include "editor/ZellKnobControlReferenceData.h"
#include "editor/ZellModWheelControlReferenceData.h"
#include "editor/ZellPadControlReferenceData.h"

namespace
{
void expectRowsLaidOut (const ZellControlView& view)
{
    const auto& widgets = view.getShownWidgets();
    ASSERT_EQ (widgets.size(), view.getRowLabels().size());

    for (int k = 0; k < widgets.size(); ++k)
    {
        EXPECT_EQ (view.getRowLabels()[k]->getBounds(), juce::Rectangle<int> (0, 32 + 26 * k, 100, 20)) << k;
        EXPECT_EQ (widgets[k]->getBounds(), juce::Rectangle<int> (105, 32 + 26 * k, 80, 20)) << k;
        EXPECT_TRUE (widgets[k]->isVisible());
    }
}

int visibleWidgetCount (const ZellControlView& view, const juce::StringArray& labels)
{
    int count = 0;
    for (const auto& label : labels)
        count += view.getWidget (label)->isVisible() ? 1 : 0;
    return count;
}
} // namespace

TEST (ControlView, BuildingReportsTheFirstModeAndEveryDefault)
{
    ZellKnobControlReferenceData data;
    RecordingListener controller;
    ZellControlView view (&data, "Knob 3", &controller);

    EXPECT_EQ (view.getName(), "Knob 3");
    EXPECT_EQ (view.getTitleLabel().getText(), "Knob 3");
    EXPECT_EQ (view.getTitleLabel().getBounds(), juce::Rectangle<int> (97, 4, 150, 20));
    EXPECT_EQ (view.getBounds().getWidth(), 280);
    EXPECT_EQ (view.getBounds().getHeight(), 211);

    ASSERT_EQ (controller.calls.size(), 5u);
    EXPECT_EQ (controller.calls[0].name, "Knob 3 Mode");
    EXPECT_EQ (controller.calls[0].value, 0.0);
    EXPECT_EQ (controller.countFor ("Knob 3 MIDI Channel"), 1);
    for (const auto& call : controller.calls)
    {
        if (call.name == "Knob 3 Max")
        {
            EXPECT_EQ (call.value, 127.0);
        }
        else if (call.name != "Knob 3 Mode")
        {
            EXPECT_EQ (call.value, 0.0) << call.name;
        }
    }

    EXPECT_EQ (rowTexts (view), (juce::StringArray{"Mode", "MIDI Channel", "CC", "Min", "Max"}));
    expectRowsLaidOut (view);
}

TEST (ControlView, ModeValueFromThePresetRebuildsTheRows)
{
    ZellKnobControlReferenceData data;
    ZellControlView view (&data, "Knob 1", nullptr);
    auto* mode = dynamic_cast<ComboBoxParameterValue*> (view.getWidget ("Mode"));
    ASSERT_NE (mode, nullptr);
    auto* maxBox = view.getWidget ("Max");
    const auto maxYInCc = maxBox->getY();

    mode->setValue (1);
    EXPECT_EQ (rowTexts (view), (juce::StringArray{"Mode", "MIDI Channel", "Min", "Max"}));
    EXPECT_FALSE (view.getWidget ("CC")->isVisible());
    EXPECT_EQ (maxBox->getY(), maxYInCc - 26);
    expectRowsLaidOut (view);

    mode->setValue (0);
    EXPECT_EQ (rowTexts (view), (juce::StringArray{"Mode", "MIDI Channel", "CC", "Min", "Max"}));
    expectRowsLaidOut (view);
}

TEST (ControlView, ModeChangesKeepTheValuesOfHiddenWidgets)
{
    ZellPadControlReferenceData data;
    RecordingListener controller;
    ZellControlView view (&data, "Pad 5", &controller);
    auto* mode = dynamic_cast<ComboBoxParameterValue*> (view.getWidget ("Mode"));

    // A distinct value in every number box, then a trip through every mode and back.
    int shown = 1;
    for (const auto& label : data.parameterLabels)
        if (auto* box = dynamic_cast<NumberBoxParameterValue*> (view.getWidget (label)))
            box->NumberBox::setValue (juce::jlimit (box->NumberBox::getMinimum(),
                                                    box->NumberBox::getMaximum(),
                                                    static_cast<double> (shown++)),
                                      true);

    std::map<juce::String, juce::String> before;
    for (const auto& label : data.parameterLabels)
        if (auto* box = dynamic_cast<NumberBoxParameterValue*> (view.getWidget (label)))
            before[label] = box->getText();

    for (int m : {1, 2, 3, 0})
    {
        mode->setValue (m);
        EXPECT_EQ (rowTexts (view), data.getModeParameters (data.modeNames[m]));
        EXPECT_EQ (visibleWidgetCount (view, data.parameterLabels), 5);
        expectRowsLaidOut (view);
    }

    for (const auto& [label, text] : before)
        EXPECT_EQ (dynamic_cast<NumberBoxParameterValue*> (view.getWidget (label))->getText(), text) << label;
}

TEST (ControlView, UserPickingAModeReportsItAndShowsItsRows)
{
    ZellPadControlReferenceData data;
    RecordingListener controller;
    ZellControlView view (&data, "Pad 2", &controller);
    auto* mode = dynamic_cast<ComboBoxParameterValue*> (view.getWidget ("Mode"));
    controller.calls.clear();

    mode->setSelectedId (4, juce::sendNotificationSync);
    ASSERT_EQ (controller.calls.size(), 1u);
    EXPECT_EQ (controller.calls[0].name, "Pad 2 Mode");
    EXPECT_EQ (controller.calls[0].value, 3.0);
    EXPECT_EQ (rowTexts (view),
               (juce::StringArray{"Mode", "MIDI Channel", "Bank LSB", "Bank MSB", "Program"}));
}

TEST (ControlView, TheModeBoxAndTheNoteBoxSayInTheirTooltipsWhatTheBoxCannotShow)
{
    ZellPadControlReferenceData data;
    ZellControlView view (&data, "Pad 1", nullptr);
    auto* mode = dynamic_cast<ComboBoxParameterValue*> (view.getWidget ("Mode"));
    auto* note = dynamic_cast<NumberBoxParameterValue*> (view.getWidget ("Note"));
    ASSERT_NE (mode, nullptr);
    ASSERT_NE (note, nullptr);

    // The mode's whole name, wherever it was chosen from.
    for (int m : {2, 3, 1})
    {
        mode->setValue (m);
        EXPECT_EQ (mode->getTooltip(), data.modeNames[m]);
    }
    mode->setSelectedId (1, juce::sendNotificationSync);
    EXPECT_EQ (mode->getTooltip(), "Note");

    // The note's name, which follows the value, after the range; other boxes give the range alone.
    note->NumberBox::setValue (60, false);
    EXPECT_TRUE (note->getTooltip().startsWith ("0 to 127\n60 is C3.")) << note->getTooltip();
    EXPECT_TRUE (note->getTooltip().contains ("C4")) << "the other convention is named";
    note->NumberBox::setValue (36, false);
    EXPECT_TRUE (note->getTooltip().startsWith ("0 to 127\n36 is C1.")) << note->getTooltip();
    EXPECT_EQ (dynamic_cast<NumberBoxParameterValue*> (view.getWidget ("Fixed"))->getTooltip(), "0 to 127");
}

TEST (ControlView, UnknownModesAndRowsLeaveThePanelUsable)
{
    ZellKnobControlReferenceData data;
    ZellControlView view (&data, "Knob 2", nullptr);

    view.showMode ("Note");
    view.showMode ({});
    EXPECT_EQ (rowTexts (view), (juce::StringArray{"Mode", "MIDI Channel", "CC", "Min", "Max"}));

    view.showParameters ({"Max", "Nothing", "Mode"});
    EXPECT_EQ (rowTexts (view), (juce::StringArray{"Max", "Mode"}));
    expectRowsLaidOut (view);
    EXPECT_FALSE (view.getWidget ("CC")->isVisible());
}

TEST (ControlView, SingleModeTypesHaveNoModeBoxAndTheirOwnSize)
{
    ZellKeyboardControlReferenceData keybedData;
    ZellControlView keybed (&keybedData, "Keybed", nullptr);
    EXPECT_EQ (keybed.getWidth(), 1000);
    EXPECT_EQ (keybed.getHeight(), 211);
    EXPECT_EQ (keybed.getWidget ("Mode"), nullptr);
    EXPECT_EQ (rowTexts (keybed), (juce::StringArray{"MIDI Channel", "Transpose", "Octave", "Curve"}));
    EXPECT_EQ (dynamic_cast<NumberBox*> (keybed.getWidget ("Transpose"))->getText(), "0");

    ZellModWheelControlReferenceData modData;
    ZellControlView mod (&modData, "Mod Wheel", nullptr);
    EXPECT_EQ (rowTexts (mod), (juce::StringArray{"MIDI Channel", "CC", "Min", "Max"}));
    EXPECT_EQ (dynamic_cast<NumberBox*> (mod.getWidget ("Max"))->getText(), "127");
}
