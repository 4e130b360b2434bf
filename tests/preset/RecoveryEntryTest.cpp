#include <gtest/gtest.h>

#include "preset/PresetModel.h"
#include "preset/RecoveryEntry.h"

namespace
{
juce::Result readWith (const std::string& description, RecoveryEntry& entry)
{
    const juce::MemoryBlock text (description.data(), description.size());
    return RecoveryEntry::read (PresetCodec::encodeFile (PresetModel().getImage()), &text, entry);
}
} // namespace

TEST (RecoveryEntry, ADescriptionIsReadOnlyWithinItsBoundsAndAsTheParserWouldWalkIt)
{
    RecoveryEntry entry;
    // An absolute path on this system, written as the store writes it.
    const auto song =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("songs/{a}/Bass.marlo");
    const auto path = juce::JSON::toString (song.getFullPathName()).toStdString();
    ASSERT_TRUE (readWith ("{\"name\": \"Bass [live]\", \"file\": " + path + "}", entry).wasOk());
    EXPECT_EQ (entry.name, "Bass [live]");
    EXPECT_EQ (entry.file, song);
    EXPECT_EQ (entry.image, PresetModel().getImage());

    const std::string deep (RecoveryEntry::deepestDescription + 1, '[');
    const struct
    {
        std::string description;
        const char* why;
    } refused[]{
        {deep, "nests deeper"},
        // The parser takes strings in single quotes: a double quote inside one hides nothing.
        {"['\"'," + deep, "nests deeper"},
        // A sequence cut at the end would take a walk by lead bytes past the text.
        {"{\"name\": \"\xfb", "not UTF-8"},
        {std::string (RecoveryEntry::largestDescription + 1, ' '), "more than"},
        {"[\"not an object\"]", "not an object"},
        // The parser's reading of long numbers overflows; a description holds none.
        {"{\"name\": \"x\", \"n\": 99999999999999999999999}", "more than names and paths"},
    };
    for (const auto& [description, why] : refused)
    {
        const auto read = readWith (description, entry);
        EXPECT_TRUE (read.failed() && read.getErrorMessage().contains (why))
            << description.substr (0, 40) << ": " << read.getErrorMessage();
    }

    // Without a description (a crash between the two writes) the preset is still offered.
    ASSERT_TRUE (
        RecoveryEntry::read (PresetCodec::encodeFile (PresetModel().getImage()), nullptr, entry).wasOk());
    EXPECT_EQ (entry.name, "Untitled");
}
