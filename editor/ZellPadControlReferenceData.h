#pragma once

#include "editor/ZellControlReferenceData.h"

/** A pad: note, controller toggle, momentary controller or program change. */
class ZellPadControlReferenceData final : public ZellControlReferenceData
{
public:
    ZellPadControlReferenceData();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellPadControlReferenceData)
};
