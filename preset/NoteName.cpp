#include "preset/NoteName.h"

#include <array>

const char* const NoteName::convention =
    "Middle C (note 60) is named C3, so 0 is C-2 and 127 is G8; some programs call middle C C4.";

juce::String NoteName::of (int noteNumber)
{
    static constexpr std::array<const char*, 12> letters{"C",  "C#", "D",  "D#", "E",  "F",
                                                         "F#", "G",  "G#", "A",  "A#", "B"};
    if (!juce::isPositiveAndNotGreaterThan (noteNumber, 127))
        return {};
    // Octave 3 begins at middle C.
    const auto octave = noteNumber / 12 - (middleC / 12 - 3);
    return juce::String (letters[static_cast<size_t> (noteNumber % 12)]) + juce::String (octave);
}
