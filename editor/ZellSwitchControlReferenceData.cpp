#include "editor/ZellSwitchControlReferenceData.h"

#include "preset/PresetLayout.h"

ZellSwitchControlReferenceData::ZellSwitchControlReferenceData()
{
    for (auto id : allSwitchParameters())
    {
        const auto label = switchParameterLabel (id);
        addParameter (label, standardSpec (label));
    }

    addMode ("CC Toggle", {"Mode", "MIDI Channel", "CC", "Toggle On", "Toggle Off"});
    addMode ("CC Momentary", {"Mode", "MIDI Channel", "CC", "Pressed", "Released"});
    addMode ("Program Change", {"Mode", "MIDI Channel", "Bank LSB", "Bank MSB", "Program"});
}
