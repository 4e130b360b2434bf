#include "editor/ZellPitchWheelControlReferenceData.h"

ZellPitchWheelControlReferenceData::ZellPitchWheelControlReferenceData()
{
    addParameter ("MIDI Channel", standardSpec ("MIDI Channel"));
    addMode ("Default", {"MIDI Channel"});
}
