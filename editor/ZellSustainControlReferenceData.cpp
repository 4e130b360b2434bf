#include "editor/ZellSustainControlReferenceData.h"

ZellSustainControlReferenceData::ZellSustainControlReferenceData()
{
    for (auto* label : {"CC", "Pressed", "Released", "MIDI Channel"})
        addParameter (label, standardSpec (label));

    addMode ("Default", {"MIDI Channel", "CC", "Pressed", "Released"});
}
