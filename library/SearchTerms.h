#pragma once

#include "library/LibraryPreset.h"

#include <vector>

/** What a search asks of a library's presets. Words match names, ignoring case; a term
    "NAME=VALUE" matches a parameter as the editor shows it ("Pad 1 Note=36", "Knob 1 CC=74",
    "pad 1 mode=cc toggle"), and only while the control's mode shows that parameter. A "*" in
    place of a control's number stands for any of them ("Pad * MIDI Channel=10": any pad). A
    preset matches when every term holds.
*/
class SearchTerms
{
public:
    SearchTerms() = default;

    /** The words of a search field: a term with "=" begins at the longest run of words before the
        "=" that names a parameter, and the words before that run are name words ("bass Pad 1
        Note=36" is the word "bass" and the term "Pad 1 Note=36"). */
    static SearchTerms fromField (const juce::String& text);

    /** Each argument is one term: with "=" a parameter, else a word (spaces and all). */
    static SearchTerms fromArguments (const juce::StringArray& arguments);

    /** Fails naming the term that names no parameter, or whose value the parameter cannot take;
        such a search matches nothing. */
    const juce::Result& getStatus() const noexcept { return status; }

    bool isEmpty() const noexcept { return words.isEmpty() && parameters.empty(); }

    bool matches (const juce::String& name, const PresetCodec::Image& image) const;
    bool matches (const LibraryPreset& preset) const { return matches (preset.name, preset.image); }

private:
    /** One parameter of one control a term may hold on. */
    struct Place
    {
        int offset = 0;
        int stored = 0;
        /** The control's "Mode" byte, -1 when it has none; the term holds only in the modes whose
            bits are set in `shownInModes`. */
        int modeOffset = -1;
        juce::uint32 shownInModes = 0;
    };

    /** Holds when any of its places does. */
    struct ParameterTerm
    {
        std::vector<Place> places;
    };

    /** Adds "NAME=VALUE"; false, with the status set, when NAME names no parameter. */
    bool addParameter (const juce::String& name, const juce::String& value);
    static bool namesParameter (const juce::String& name);

    juce::StringArray words;
    std::vector<ParameterTerm> parameters;
    juce::Result status = juce::Result::ok();
};
