#pragma once

#include "preset/ControlSchema.h"

#include <juce_graphics/juce_graphics.h>
#include <map>

/** The editor's description of one type of control: its parameters, how each is edited, its modes,
    the rows each mode shows and the size of the panel that edits one such control.

    Filled by a subclass's constructor and read-only afterwards; one instance is shared by every
    panel of that type on a page. A lookup with a name the description does not hold is a
    programming error and throws std::out_of_range.
*/
class ZellControlReferenceData
{
public:
    virtual ~ZellControlReferenceData() = 0;

    /** Width (x) and height (y) of one panel in pixels. */
    virtual juce::Point<int> getPanelSize() const;

    int getWidgetKind (const juce::String& label) const;
    int getDisplayOffset (const juce::String& label) const;
    int getMinimum (const juce::String& label) const;
    int getMaximum (const juce::String& label) const;
    int getDefaultValue (const juce::String& label) const;

    juce::StringArray getModeParameters (const juce::String& modeName) const;
    bool hasMode (const juce::String& modeName) const;

    /** Labels in registration order; one widget per entry. */
    juce::StringArray parameterLabels;
    /** Mode names; the position is the stored value of the "Mode" parameter. */
    juce::StringArray modeNames;

protected:
    ZellControlReferenceData() = default;

    void addParameter (const juce::String& label, ParameterSpec spec);
    void addMode (const juce::String& modeName, const juce::StringArray& labels);

    /** Registers the parameters and then the modes of a type, in the schema's order. */
    void addFromSchema (const ControlSchema& schema);

private:
    const ParameterSpec& specFor (const juce::String& label) const;

    std::map<juce::String, ParameterSpec> parameterSpecs;
    std::map<juce::String, juce::StringArray> modeParameters;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellControlReferenceData)
};
