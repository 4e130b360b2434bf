#include <gtest/gtest.h>

#include "library/SearchTerms.h"
#include "preset/PresetModel.h"

namespace
{
/** Pad 3 plays note 40 on channel 10; pad 5 sends CC 40 in "CC Toggle"; knob 1 sends CC 74. */
PresetCodec::Image searchedPreset()
{
    PresetModel model;
    const auto set = [&model] (const juce::String& name, int stored)
    { EXPECT_TRUE (model.setStoredValue (name, stored).wasOk()) << name; };
    set ("Pad 3 Mode", 0);
    set ("Pad 3 Note", 40);
    set ("Pad 3 MIDI Channel", 9);
    set ("Pad 5 Mode", 1);
    set ("Pad 5 CC", 40);
    set ("Knob 1 CC", 74);
    return model.getImage();
}

struct Case
{
    const char* field;
    bool matches;
};

TEST (SearchTermsTest, FieldTermsMatchNamesAndShownParameters)
{
    const auto image = searchedPreset();
    const Case cases[] = {
        {"", true},
        {"BASS", true},
        {"lead", false},
        {"deep bass", true},
        {"Pad 3 Note=40", true},
        {"pad 3 note=40", true},
        {"Pad 3 Note = 40", true},
        {"Pad 3 Note=41", false},
        {"Pad 3 MIDI Channel=10", true},
        {"Pad * MIDI Channel=10", true},
        {"Pad * Note=40", true},
        // Pad 5 holds 40 in the byte of its note too, but its mode shows it as a CC.
        {"Pad 5 Note=40", false},
        {"Pad 5 CC=40", true},
        {"Pad 5 Mode=CC Toggle", true},
        {"pad 5 mode=cc toggle bass", true},
        {"Pad 5 Mode=CC Momentary", false},
        {"Knob 1 CC=74", true},
        {"Knob * CC=75", false},
        {"bass Pad 3 Note=40", true},
        {"lead Pad 3 Note=40", false},
        {"bass Pad 3 Note=40 Knob 1 CC=74", true},
        {"bass Pad 3 Note=40 Knob 1 CC=73", false},
        {"deep Pad 3 Note=40 bass", true},
        // Names no parameter, or a value it cannot take: nothing matches.
        {"Pad 9 Note=40", false},
        {"Pad 3 Note=200", false},
        {"Nonsense=1", false},
    };
    for (const auto& each : cases)
        EXPECT_EQ (SearchTerms::fromField (each.field).matches ("Deep Bass", image), each.matches)
            << each.field;
}

TEST (SearchTermsTest, FieldSplitsNameWordsFromTheLongestParameterName)
{
    // "1" could be a name word; it belongs to "Pad 1 Note" because the longest run wins.
    PresetModel model;
    ASSERT_TRUE (model.setStoredValue ("Pad 1 Note", 36).wasOk());
    EXPECT_TRUE (SearchTerms::fromField ("Pad 1 Note=36").matches ("Kit", model.getImage()));
    EXPECT_FALSE (SearchTerms::fromField ("1 Pad 1 Note=36").matches ("Kit", model.getImage()));
    EXPECT_TRUE (SearchTerms::fromField ("1 Pad 1 Note=36").matches ("Kit 1", model.getImage()));
}

TEST (SearchTermsTest, ArgumentsAreOneTermEach)
{
    const auto image = searchedPreset();
    EXPECT_TRUE (
        SearchTerms::fromArguments ({"deep bass", "Pad * MIDI Channel=10"}).matches ("Deep Bass", image));
    EXPECT_FALSE (SearchTerms::fromArguments ({"bass deep"}).matches ("Deep Bass", image));
    EXPECT_TRUE (SearchTerms::fromArguments ({"Pad 5 Mode=cc toggle"}).matches ("x", image));
    const auto unknown = SearchTerms::fromArguments ({"Pad 3 Nothe=40"});
    EXPECT_TRUE (unknown.getStatus().failed());
    EXPECT_FALSE (unknown.matches ("x", image));
    // An unreadable file has no parameters to match.
    EXPECT_FALSE (SearchTerms::fromArguments ({"Knob 1 CC=74"}).matches ("x", {}));
}
} // namespace
