#pragma once

#include "editor/ZellControlReferenceData.h"

/** The modulation wheel: controller number and value range. */
class ZellModWheelControlReferenceData final : public ZellControlReferenceData
{
public:
    ZellModWheelControlReferenceData();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellModWheelControlReferenceData)
};
