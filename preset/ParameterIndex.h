#pragma once

#include "preset/ControlSchema.h"

#include <vector>

/** Every parameter of the preset by its full name ("Pad 3 Curve"): the one way from a name to its
    byte, its schema entry and its stored range, for the model, the controller and the command
    line alike. Built once, in the order of the controls and of each schema's parameters.
*/
class ParameterIndex
{
public:
    struct Entry
    {
        juce::String name;
        /** The byte in the 93-byte image. */
        int offset = 0;
        const ControlSchema* schema = nullptr;
        const ControlSchema::Parameter* parameter = nullptr;
        /** The entry's position in all(). */
        int index = 0;
    };

    /** Null when the name is none of the preset's parameters. */
    static const Entry* find (const juce::String& name);
    /** The entry whose name is `name` but for the case of its letters ("knob 1 cc"); null when
        there is none. */
    static const Entry* findIgnoringCase (const juce::String& name);
    /** Up to `count` names nearest to one that is none of them, by the fewest letters added,
        dropped or changed (case aside), nearest first; none that is more than half of it away. */
    static juce::StringArray nearest (const juce::String& name, int count);
    static const std::vector<Entry>& all();
};
