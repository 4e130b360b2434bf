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
    static const std::vector<Entry>& all();
};
