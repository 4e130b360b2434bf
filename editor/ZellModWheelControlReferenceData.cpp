#include "editor/ZellModWheelControlReferenceData.h"

ZellModWheelControlReferenceData::ZellModWheelControlReferenceData()
{
    addFromSchema (controlSchema (ControlType::ModWheel));
}
