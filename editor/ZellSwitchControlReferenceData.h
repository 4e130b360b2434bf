#pragma once

#include "editor/ZellControlReferenceData.h"

/** A switch: controller toggle, momentary controller or program change. */
class ZellSwitchControlReferenceData final : public ZellControlReferenceData
{
public:
    ZellSwitchControlReferenceData();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellSwitchControlReferenceData)
};
