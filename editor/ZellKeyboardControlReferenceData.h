#pragma once

#include "editor/ZellControlReferenceData.h"

/** The keybed: channel, transpose, octave and curve, on a panel as wide as the keybed. */
class ZellKeyboardControlReferenceData final : public ZellControlReferenceData
{
public:
    ZellKeyboardControlReferenceData();

    juce::Point<int> getPanelSize() const override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellKeyboardControlReferenceData)
};
