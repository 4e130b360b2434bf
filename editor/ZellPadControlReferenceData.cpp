#include "editor/ZellPadControlReferenceData.h"

ZellPadControlReferenceData::ZellPadControlReferenceData()
{
    addFromSchema (controlSchema (ControlType::Pad));
}
