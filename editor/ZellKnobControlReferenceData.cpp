#include "editor/ZellKnobControlReferenceData.h"

ZellKnobControlReferenceData::ZellKnobControlReferenceData()
{
    addFromSchema (controlSchema (ControlType::Knob));
}
