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
/** A page of panels that share one reference data, named by the given control names; the panels
    are made when the page is first shown. The listener (not owned) must outlive the page. */
template <typename ReferenceData>
std::unique_ptr<ZellControlLayoutView> createSharedView (const juce::StringArray& controlNames,
                                                         ParameterValue::Listener* listener)
{
    return std::make_unique<ZellControlLayoutView> (
        [controlNames, listener]
        {
            ZellControlLayoutView::Contents contents;
            auto* data = contents.referenceData.add (std::make_unique<ReferenceData>());

            for (const auto& name : controlNames)
                contents.panels.add (std::make_unique<ZellControlView> (data, name, listener));

            return contents;
        });
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
    return createSharedView<ZellKnobControlReferenceData> (numberedNames ("Knob", count), listener);
}

std::unique_ptr<ZellControlLayoutView> createSwitchesView (int count, ParameterValue::Listener* listener)
{
    return createSharedView<ZellSwitchControlReferenceData> (numberedNames ("Switch", count), listener);
}

std::unique_ptr<ZellControlLayoutView> createPadsView (int count, ParameterValue::Listener* listener)
{
    return createSharedView<ZellPadControlReferenceData> (numberedNames ("Pad", count), listener);
}

std::unique_ptr<ZellControlLayoutView> createKeybedView (ParameterValue::Listener* listener)
{
    return createSharedView<ZellKeyboardControlReferenceData> ({"Keybed"}, listener);
}

std::unique_ptr<ZellControlLayoutView> createWheelsView (ParameterValue::Listener* listener)
{
    return std::make_unique<ZellControlLayoutView> (
        [listener]
        {
            ZellControlLayoutView::Contents contents;
            auto* modWheel =
                contents.referenceData.add (std::make_unique<ZellModWheelControlReferenceData>());
            auto* pitchWheel =
                contents.referenceData.add (std::make_unique<ZellPitchWheelControlReferenceData>());
            contents.panels.add (std::make_unique<ZellControlView> (modWheel, "Mod Wheel", listener));
            contents.panels.add (std::make_unique<ZellControlView> (pitchWheel, "Pitch Wheel", listener));
            return contents;
        });
}

std::unique_ptr<ZellControlLayoutView> createSustainView (ParameterValue::Listener* listener)
{
    return createSharedView<ZellSustainControlReferenceData> ({"Sustain"}, listener);
}
