#include <gtest/gtest.h>

#include "preset/PresetMessages.h"

TEST (PresetMessages, HeaderSizeIsEight)
{
    EXPECT_EQ (presetHeaderSize, 8);
}
