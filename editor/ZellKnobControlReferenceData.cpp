#include "editor/ZellKnobControlReferenceData.h"

ZellKnobControlReferenceData::ZellKnobControlReferenceData()
{
    for (auto* label : {"Mode", "MIDI Channel", "CC", "Min", "Max"})
        addParameter (label, standardSpec (label));

    addMode ("CC", {"Mode", "MIDI Channel", "CC", "Min", "Max"});
    addMode ("Aftertouch", {"Mode", "MIDI Channel", "Min", "Max"});
}
