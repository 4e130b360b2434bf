#pragma once

#include "preset/PresetLayout.h"

#include <vector>

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

/** What one type of control holds: its parameters with their bytes and ranges, and its modes with
    the parameters each one shows.

    This is the one table the preset checks, the widgets' ranges and the command-line tool all read,
    so that none of them can disagree about what a byte may hold.
*/
class ControlSchema
{
public:
    struct Parameter
    {
        juce::String label;
        /** Position of the parameter's byte inside the control's bytes. */
        int byte = 0;
        ParameterSpec spec;
    };

    struct Mode
    {
        juce::String name;
        /** The labels this mode shows, top to bottom. */
        juce::StringArray labels;
    };

    ControlSchema (ControlType type, std::vector<Parameter> parameters, std::vector<Mode> modes);

    ControlType getType() const noexcept { return type; }
    /** In registration order. */
    const std::vector<Parameter>& getParameters() const noexcept { return parameters; }
    const std::vector<Mode>& getModes() const noexcept { return modes; }
    juce::StringArray getModeNames() const;

    /** Null for a label the type does not have. */
    const Parameter* findParameter (const juce::String& label) const;
    /** The mode whose stored value is `modeValue`; null when there is none. */
    const Mode* findMode (int modeValue) const;
    /** Stored value of a mode name; -1 when there is none. */
    int indexOfMode (const juce::String& modeName) const;

    /** Whether the type has a "Mode" selector (and so more than one mode). */
    bool hasModeSelector() const;
    /** The byte of the "Mode" selector; -1 when there is none. */
    int getModeByte() const;

    /** Inclusive range of the values a byte may store. */
    struct StoredRange
    {
        int minimum = 0;
        int maximum = 127;
        bool contains (int value) const noexcept { return value >= minimum && value <= maximum; }
    };

    /** Stored range of a parameter: its shown range less its display offset; a mode selector
        stores the position of its mode. */
    StoredRange getStoredRange (const Parameter& parameter) const;

    /** The labels that share one byte, in registration order. */
    juce::StringArray getLabelsAt (int byte) const;
    /** The label that `modeValue` shows for a byte; empty when that mode shows none there. */
    juce::String getLabelShownAt (int modeValue, int byte) const;

    static const juce::String modeLabel;

private:
    ControlType type;
    std::vector<Parameter> parameters;
    std::vector<Mode> modes;
};

/** The schema of each of the seven control types. */
const ControlSchema& controlSchema (ControlType type);
