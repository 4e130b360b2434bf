#include <gtest/gtest.h>

#include "preset/NoteName.h"

TEST (NoteName, MiddleCIsC3FromCMinus2ToG8)
{
    const std::vector<std::pair<int, const char*>> table{
        {0, "C-2"}, {1, "C#-2"}, {11, "B-2"}, {12, "C-1"}, {24, "C0"}, {36, "C1"},   {59, "B2"},
        {60, "C3"}, {61, "C#3"}, {69, "A3"},  {70, "A#3"}, {72, "C4"}, {126, "F#8"}, {127, "G8"}};
    for (const auto& [note, name] : table)
        EXPECT_EQ (NoteName::of (note), name) << note;
    EXPECT_EQ (NoteName::of (NoteName::middleC), "C3");
    EXPECT_TRUE (NoteName::of (-1).isEmpty());
    EXPECT_TRUE (NoteName::of (128).isEmpty());
    EXPECT_TRUE (juce::String (NoteName::convention).contains ("C4"));
}
