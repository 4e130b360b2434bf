#include "editor/SectionBuilders.h"

#include "editor/ZellControlView.h"
#include "editor/ZellKeyboardControlReferenceData.h"
#include "editor/ZellKnobControlReferenceData.h"
#include "editor/ZellModWheelControlReferenceData.h"
#include "editor/ZellPadControlReferenceData.h"
#include "editor/ZellPitchWheelControlReferenceData.h"
#include "editor/ZellSustainControlReferenceData.h"
#include "editor/ZellSwitchControlReferenceData.h"

namespace
{
/** A page of panels that share one reference data, named by the given control names. */
std::unique_ptr<ZellControlLayoutView> createSharedView (std::unique_ptr<ZellControlReferenceData> data,
                                                         const juce::StringArray& controlNames,
                                                         ParameterValue::Listener* listener)
{
    juce::Array<juce::Component*> panels;

    for (const auto& name : controlNames)
        panels.add (new ZellControlView (data.get(), name, listener));

    return std::make_unique<ZellControlLayoutView> (panels, data.release());
}

/** "Knob 1" ... "Knob count". */
juce::StringArray numberedNames (const juce::String& sectionWord, int count)
{
    juce::StringArray names;

    for (int i = 1; i <= count; ++i)
        names.add (sectionWord + " " + juce::String (i));

    return names;
}
} // namespace

std::unique_ptr<ZellControlLayoutView> createKnobsView (int count, ParameterValue::Listener* listener)
{
    return createSharedView (std::make_unique<ZellKnobControlReferenceData>(), numberedNames ("Knob", count),
                             listener);
}

std::unique_ptr<ZellControlLayoutView> createSwitchesView (int count, ParameterValue::Listener* listener)
{
    return createSharedView (std::make_unique<ZellSwitchControlReferenceData>(),
                             numberedNames ("Switch", count), listener);
}

std::unique_ptr<ZellControlLayoutView> createPadsView (int count, ParameterValue::Listener* listener)
{
    return createSharedView (std::make_unique<ZellPadControlReferenceData>(), numberedNames ("Pad", count),
                             listener);
}

std::unique_ptr<ZellControlLayoutView> createKeybedView (ParameterValue::Listener* listener)
{
    return createSharedView (std::make_unique<ZellKeyboardControlReferenceData>(), {"Keybed"}, listener);
}

std::unique_ptr<ZellControlLayoutView> createWheelsView (ParameterValue::Listener* listener)
{
    auto modWheel = std::make_unique<ZellModWheelControlReferenceData>();
    auto pitchWheel = std::make_unique<ZellPitchWheelControlReferenceData>();

    juce::Array<juce::Component*> panels;
    panels.add (new ZellControlView (modWheel.get(), "Mod Wheel", listener));
    panels.add (new ZellControlView (pitchWheel.get(), "Pitch Wheel", listener));

    juce::Array<ZellControlReferenceData*> data;
    data.add (modWheel.release());
    data.add (pitchWheel.release());

    return std::make_unique<ZellControlLayoutView> (panels, data);
}

std::unique_ptr<ZellControlLayoutView> createSustainView (ParameterValue::Listener* listener)
{
    return createSharedView (std::make_unique<ZellSustainControlReferenceData>(), {"Sustain"}, listener);
}
