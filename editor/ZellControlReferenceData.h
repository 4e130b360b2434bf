#pragma once

#include <juce_graphics/juce_graphics.h>
#include <map>

/** How one parameter of a control type is edited. Values are in shown units. */
struct ParameterSpec
{
    int minimum = 0;
    int maximum = 127;
    int defaultValue = 0;
    /** Shown value minus stored value: the preset byte holds shown value - displayOffset. */
    int displayOffset = 0;
    /** 0: number box; 1: mode selector listing the type's mode names. */
    int widgetKind = 0;
};

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

    /** The ParameterSpec every type gives a label unless it says otherwise: 0 to 127 from 0, except a
        channel shown 1 to 16, the "on" values that start at 127, and the mode selector. */
    static ParameterSpec standardSpec (const juce::String& label);

private:
    const ParameterSpec& specFor (const juce::String& label) const;

    std::map<juce::String, ParameterSpec> parameterSpecs;
    std::map<juce::String, juce::StringArray> modeParameters;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellControlReferenceData)
};
