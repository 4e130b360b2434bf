#pragma once

#include "preset/ControlSchema.h"
#include "preset/PresetModel.h"

#include <juce_core/juce_core.h>

/** A parameter's value in the words the editor shows it in: MIDI channels 1 to 16, Transpose -12
    to 12, a mode by its item text. The command-line tool reads and writes values only this way, so
    a script says what the user would see on the screen, never a raw byte.
*/
class ShownValue
{
public:
    /** The schema entry behind a full parameter name such as "Pad 3 Curve"; null when the name is
        not one of the layout's. */
    static const ControlSchema::Parameter* findParameter (const juce::String& name);

    /** The value the box of `name` shows: a number, or the mode's name for a mode selector. */
    static juce::var of (const PresetModel& model, const juce::String& name);

    /** Reads the text a user would enter into the box of `name` and gives its stored value. Fails
        with the allowed values named when the text is not one of them. */
    static juce::Result parse (const juce::String& name, const juce::String& text, int& storedValue);

    /** A number as a value is typed: an optional sign followed by digits only, nothing else. */
    static bool isNumber (const juce::String& text);

    /** The stored range of the box of `name`; {0, 127} for an unknown name. */
    static ControlSchema::StoredRange storedRangeOf (const juce::String& name);
};
