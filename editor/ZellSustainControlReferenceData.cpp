#include "editor/ZellSustainControlReferenceData.h"

ZellSustainControlReferenceData::ZellSustainControlReferenceData()
{
    addFromSchema (controlSchema (ControlType::Sustain));
}
