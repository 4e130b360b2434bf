#include <gtest/gtest.h>

#include "library/PresetLibrary.h"
#include "library/PresetSummary.h"
#include "preset/PresetModel.h"
#include "support/GeneratedPresets.h"
#include "support/TemporaryFolder.h"

namespace
{
juce::StringArray pathsOf (const std::vector<LibraryPreset>& presets)
{
    juce::StringArray paths;
    for (const auto& preset : presets)
        paths.add (preset.path());
    return paths;
}

TEST (PresetLibraryTest, ListsNestedGroupsAndSkipsHiddenAndLinkedFolders)
{
    TemporaryFolder folder;
    writePreset (folder / "Lead.marlo", generatedPreset (1));
    writePreset (folder / "Drums/Kits/Rock 10.marlo", generatedPreset (2));
    writePreset (folder / "Drums/Kits/Rock 9.marlo", generatedPreset (3));
    writePreset (folder / "Drums/Basic.marlo", generatedPreset (4));
    writePreset (folder / ".git/objects/Lost.marlo", generatedPreset (5));
    writePreset (folder / "Drums/.hidden.marlo", generatedPreset (6));
    (folder / "notes.txt").replaceWithText ("not a preset");
    const auto linked = (folder / "Drums").createSymbolicLink (folder / "Elsewhere", false);

    const auto presets = PresetLibrary (folder.get()).read();
    EXPECT_EQ (pathsOf (presets),
               juce::StringArray ({"Lead", "Drums/Basic", "Drums/Kits/Rock 9", "Drums/Kits/Rock 10"}))
        << (linked ? "" : "(no link could be made)");
    EXPECT_TRUE (PresetLibrary (folder / "missing").read().empty());
    EXPECT_FALSE ((folder / "missing").exists());
}

TEST (PresetLibraryTest, MarksDuplicatesAndListsUnreadableFilesWithTheReason)
{
    TemporaryFolder folder;
    writePreset (folder / "A/First.marlo", generatedPreset (7));
    writePreset (folder / "B/Copy.marlo", generatedPreset (7));
    writePreset (folder / "Other.marlo", generatedPreset (8));
    (folder / "Broken.marlo").replaceWithText ("garbage");
    auto outOfRange = PresetCodec::encodeFile (generatedPreset (9));
    // The file's bytes are the preset's after the dump's header of 9.
    static_cast<juce::uint8*> (
        outOfRange.getData())[9 + ParameterIndex::find ("Pad 1 MIDI Channel")->offset] = 40;
    (folder / "Bad.marlo").replaceWithData (outOfRange.getData(), outOfRange.getSize());

    const auto presets = PresetLibrary (folder.get()).read();
    ASSERT_EQ (pathsOf (presets), juce::StringArray ({"Bad", "Broken", "Other", "A/First", "B/Copy"}));
    EXPECT_FALSE (presets[0].isReadable());
    EXPECT_TRUE (presets[0].unreadable.contains ("Pad 1")) << presets[0].unreadable;
    EXPECT_FALSE (presets[1].isReadable());
    EXPECT_TRUE (presets[1].sameAs.isEmpty()) << "two unreadable files are not the same preset";
    EXPECT_EQ (presets[2].sameAs, "");
    EXPECT_EQ (presets[3].sameAs, "");
    EXPECT_EQ (presets[4].sameAs, "A/First");
    EXPECT_EQ (presets[4].image, generatedPreset (7));
    EXPECT_TRUE (presets[4].summary.startsWith ("Knobs CC")) << presets[4].summary;
}

TEST (PresetLibraryTest, SummaryNamesWhatEachKindOfControlSends)
{
    PresetModel model;
    const auto set = [&model] (const juce::String& name, int stored)
    { EXPECT_TRUE (model.setStoredValue (name, stored).wasOk()) << name; };
    for (int n = 1; n <= 4; ++n)
    {
        set ("Knob " + juce::String (n) + " Mode", 0);
        set ("Knob " + juce::String (n) + " CC", 19 + n);
        set ("Knob " + juce::String (n) + " MIDI Channel", 0);
        set ("Switch " + juce::String (n) + " Mode", 2);
        set ("Switch " + juce::String (n) + " Program", 5);
        set ("Switch " + juce::String (n) + " MIDI Channel", n);
    }
    for (int n = 1; n <= 8; ++n)
    {
        set ("Pad " + juce::String (n) + " Mode", 0);
        set ("Pad " + juce::String (n) + " Note", 34 + 2 * n);
        set ("Pad " + juce::String (n) + " MIDI Channel", 9);
    }
    set ("Knob 4 Mode", 1);
    set ("Pad 8 Mode", 1);
    set ("Pad 8 CC", 64);
    EXPECT_EQ (
        PresetSummary::of (model.getImage()),
        juce::String::fromUTF8 (
            "Knobs CC 20-22 ch 1, aftertouch ch 1 \xc2\xb7 Pads notes 36, 38, 40, 42, 44, 46, 48 ch 10, "
            "CC toggle 64 ch 10 \xc2\xb7 Switches programs 5 ch 2-5"));
}
} // namespace
