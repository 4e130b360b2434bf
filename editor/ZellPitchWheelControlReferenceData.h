#pragma once

#include "editor/ZellControlReferenceData.h"

/** The pitch wheel: only its channel. */
class ZellPitchWheelControlReferenceData final : public ZellControlReferenceData
{
public:
    ZellPitchWheelControlReferenceData();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellPitchWheelControlReferenceData)
};
