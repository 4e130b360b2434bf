#include <gtest/gtest.h>

#include "cli/PresetCommandLine.h"
#include "library/PresetDumps.h"
#include "support/GeneratedPresets.h"
#include "support/TemporaryFolder.h"

namespace
{
struct Outcome
{
    int code = -1;
    juce::String out;
    juce::String err;
};

struct LibraryCommandsTest : public ::testing::Test
{
    Outcome run (const juce::StringArray& arguments)
    {
        juce::MemoryOutputStream out, err;
        const auto code = PresetCommandLine (PresetCommandLine::Environment{}).run (arguments, out, err);
        return {code, out.toString(), err.toString()};
    }

    juce::String path (const juce::String& name) const { return (folder / name).getFullPathName(); }

    TemporaryFolder folder;
};

TEST_F (LibraryCommandsTest, SearchPrintsTheMatchingFiles)
{
    writePreset (folder / "Lib/Bass.marlo", generatedPreset (74));
    writePreset (folder / "Lib/Keys/Bass Two.marlo", generatedPreset (75));
    (folder / "Lib/Broken.marlo").replaceWithText ("x");
    const auto library = path ("Lib");

    const auto both = run ({"search", library, "bass"});
    EXPECT_EQ (both.code, 0);
    EXPECT_EQ (both.out, library + "/Bass.marlo\n" + library + "/Keys/Bass Two.marlo\n");
    EXPECT_TRUE (both.err.contains ("Broken.marlo")) << both.err;

    const auto one = run ({"search", library, "bass", "knob 1 cc=74", "--json"});
    EXPECT_EQ (one.code, 0);
    const auto parsed = juce::JSON::parse (one.out);
    ASSERT_EQ (parsed.size(), 1) << one.out;
    EXPECT_EQ (parsed[0]["file"].toString(), library + "/Bass.marlo");
    EXPECT_TRUE (parsed[0]["sends"].toString().startsWith ("Knobs CC 74"));

    EXPECT_EQ (run ({"search", library, "lead"}).code, 1);
    const auto unknown = run ({"search", library, "Knob 9 CC=74"});
    EXPECT_EQ (unknown.code, 2);
    EXPECT_TRUE (unknown.err.contains ("Knob 9 CC")) << unknown.err;
}

TEST_F (LibraryCommandsTest, ImportExportAndDuplicatesWriteOnlyNewFiles)
{
    writePreset (folder / "In/Pad.marlo", generatedPreset (1));
    writePreset (folder / "In/Pad Copy.marlo", generatedPreset (1));
    writePreset (folder / "In/Other.marlo", generatedPreset (2));
    const auto exported = run ({"export", path ("Bank.syx"), path ("In/Pad.marlo"), path ("In/Other.marlo")});
    EXPECT_EQ (exported.code, 0) << exported.err;
    std::vector<PresetCodec::Image> dumps;
    ASSERT_TRUE (PresetDumps::read (folder / "Bank.syx", dumps).wasOk());
    EXPECT_EQ (dumps, (std::vector<PresetCodec::Image>{generatedPreset (1), generatedPreset (2)}));
    EXPECT_EQ (run ({"export", path ("Bank.syx"), path ("In/Other.marlo")}).code, 2);

    const auto imported = run ({"import", path ("Lib"), path ("Bank.syx"), path ("Archive.zip")});
    EXPECT_EQ (imported.out, "Imported 2\n");
    EXPECT_EQ (imported.code, 2) << "the archive was not read";
    EXPECT_TRUE (imported.err.contains ("archives are not read")) << imported.err;
    const auto again = run ({"import", path ("Lib"), path ("In")});
    EXPECT_EQ (again.out, "Imported 0; 3 already in the library\n");
    EXPECT_EQ (again.code, 0);

    EXPECT_EQ (run ({"duplicates", path ("Lib")}).code, 0);
    EXPECT_EQ (run ({"export", path ("Lib"), path ("In/Pad.marlo")}).code, 0);
    const auto found = run ({"duplicates", path ("Lib")});
    EXPECT_EQ (found.code, 1);
    EXPECT_EQ (found.out, path ("Lib") + "/Bank.marlo\n" + path ("Lib") + "/Pad.marlo\n");
    EXPECT_TRUE ((folder / "Lib/Bank 2.marlo").existsAsFile()) << "nothing deleted";
}
} // namespace
