#include "editor/ZellPadControlReferenceData.h"

#include "preset/PresetLayout.h"

ZellPadControlReferenceData::ZellPadControlReferenceData()
{
    // Registered in the order of the layout's pad ids, so widget order matches byte order.
    for (auto id : allPadParameters())
    {
        const auto label = padParameterLabel (id);
        addParameter (label, id == padCurve ? ParameterSpec{1, 8, 1, 1, 0} : standardSpec (label));
    }

    addMode ("Note", {"Mode", "MIDI Channel", "Note", "Fixed", "Curve"});
    addMode ("CC Toggle", {"Mode", "MIDI Channel", "CC", "Toggle On", "Toggle Off"});
    addMode ("CC Momentary", {"Mode", "MIDI Channel", "CC", "Pressed", "Released"});
    addMode ("Program Change", {"Mode", "MIDI Channel", "Bank LSB", "Bank MSB", "Program"});
}
