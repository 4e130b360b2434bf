#include "editor/ZellModWheelControlReferenceData.h"

ZellModWheelControlReferenceData::ZellModWheelControlReferenceData()
{
    for (auto* label : {"CC", "Min", "Max", "MIDI Channel"})
        addParameter (label, standardSpec (label));

    // The channel is registered last but shown first.
    addMode ("Default", {"MIDI Channel", "CC", "Min", "Max"});
}
