#pragma once

#include <juce_core/juce_core.h>

/** A MIDI note number as musicians read it: the note's letter, a sharp where there is one, and the
    octave, with middle C (60) as "C3", so that 0 is "C-2" and 127 is "G8".

    That is one of two common conventions (the other calls middle C "C4"), so whatever shows a note
    name also offers `convention` to say which one it is. The monitor, the editor's note boxes and
    the command-line tool all name notes here, so they never disagree.
*/
class NoteName
{
public:
    static constexpr int middleC = 60;

    /** "C3" for 60, "C#3" for 61; empty for a number outside 0 to 127. */
    static juce::String of (int noteNumber);

    /** One sentence for a tooltip or a help text. */
    static const char* const convention;
};
