#include "editor/ZellKeyboardControlReferenceData.h"

ZellKeyboardControlReferenceData::ZellKeyboardControlReferenceData()
{
    addParameter ("MIDI Channel", standardSpec ("MIDI Channel"));
    // Shown as a signed shift around the stored middle value 12.
    addParameter ("Transpose", {-12, 12, 0, -12, 0});
    addParameter ("Octave", {0, 6, 0, 0, 0});
    addParameter ("Curve", {1, 8, 1, 1, 0});

    addMode ("Default", {"MIDI Channel", "Transpose", "Octave", "Curve"});
}

juce::Point<int> ZellKeyboardControlReferenceData::getPanelSize() const
{
    return {1000, 211};
}
