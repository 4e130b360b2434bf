#include <gtest/gtest.h>

#include "preset/PresetDifference.h"
#include "preset/ShownValue.h"

#include <algorithm>

TEST (PresetDifferenceTest, RowsGiveShownValuesAndAHiddenRowReadsNotShown)
{
    PresetModel editor, controller;
    EXPECT_TRUE (PresetDifference::between (editor, controller).empty());

    ASSERT_TRUE (controller.setStoredValue ("Keybed MIDI Channel", 9).wasOk());
    ASSERT_TRUE (controller.setStoredValue ("Pad 1 Mode", 1).wasOk());
    const auto rows = PresetDifference::between (editor, controller);

    ASSERT_FALSE (rows.empty());
    // Shown units: the channel stored as 9 is shown as 10.
    const auto channel = std::find_if (rows.begin(), rows.end(),
                                       [] (const auto& row) { return row.name == "Keybed MIDI Channel"; });
    ASSERT_NE (channel, rows.end());
    EXPECT_EQ (channel->first, ShownValue::of (editor, "Keybed MIDI Channel").toString());
    EXPECT_EQ (channel->second, "10");

    const auto mode =
        std::find_if (rows.begin(), rows.end(), [] (const auto& row) { return row.name == "Pad 1 Mode"; });
    ASSERT_NE (mode, rows.end());
    EXPECT_EQ (mode->second, ShownValue::of (controller, "Pad 1 Mode").toString());
    EXPECT_NE (mode->first, mode->second);

    // A row only the controller's mode shows reads "(not shown)" on the editor's side.
    const auto onlyController = controller.getShownNames();
    const auto hidden =
        std::find_if (rows.begin(), rows.end(),
                      [&] (const auto& row) { return !editor.getShownNames().contains (row.name); });
    ASSERT_NE (hidden, rows.end());
    EXPECT_TRUE (onlyController.contains (hidden->name));
    EXPECT_EQ (hidden->first, "(not shown)");
}
