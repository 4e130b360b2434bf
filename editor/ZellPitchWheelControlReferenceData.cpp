#include "editor/ZellPitchWheelControlReferenceData.h"

ZellPitchWheelControlReferenceData::ZellPitchWheelControlReferenceData()
{
    addFromSchema (controlSchema (ControlType::PitchWheel));
}
