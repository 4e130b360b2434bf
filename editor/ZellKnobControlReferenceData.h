#pragma once

#include "editor/ZellControlReferenceData.h"

/** A knob: a controller or aftertouch, with a value range. */
class ZellKnobControlReferenceData final : public ZellControlReferenceData
{
public:
    ZellKnobControlReferenceData();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellKnobControlReferenceData)
};
