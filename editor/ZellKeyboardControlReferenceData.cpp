#include "editor/ZellKeyboardControlReferenceData.h"

ZellKeyboardControlReferenceData::ZellKeyboardControlReferenceData()
{
    addFromSchema (controlSchema (ControlType::Keybed));
}

juce::Point<int> ZellKeyboardControlReferenceData::getPanelSize() const
{
    return {1000, 211};
}
