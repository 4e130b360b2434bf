#include "editor/ZellSwitchControlReferenceData.h"

ZellSwitchControlReferenceData::ZellSwitchControlReferenceData()
{
    addFromSchema (controlSchema (ControlType::Switch));
}
