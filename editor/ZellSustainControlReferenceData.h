#pragma once

#include "editor/ZellControlReferenceData.h"

/** The sustain input: controller number and the values sent on press and release. */
class ZellSustainControlReferenceData final : public ZellControlReferenceData
{
public:
    ZellSustainControlReferenceData();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellSustainControlReferenceData)
};
