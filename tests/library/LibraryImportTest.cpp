#include <gtest/gtest.h>

#include "library/LibraryExport.h"
#include "library/LibraryImport.h"
#include "library/PresetDumps.h"
#include "library/PresetLibrary.h"
#include "support/GeneratedPresets.h"
#include "support/TemporaryFolder.h"

namespace
{
struct LibraryImportTest : public ::testing::Test
{
    std::vector<LibraryPreset> read() const { return PresetLibrary (library).read(); }

    juce::StringArray paths() const
    {
        juce::StringArray found;
        for (const auto& preset : read())
            found.add (preset.path());
        return found;
    }

    TemporaryFolder folder;
    juce::File library = folder / "Library";
    juce::File outside = folder / "Outside";
};

TEST_F (LibraryImportTest, BankOfHundredDumpsWithFiveHeldRoundTripsThroughExport)
{
    std::vector<PresetCodec::Image> bank;
    for (int n = 0; n < 100; ++n)
        bank.push_back (generatedPreset (n));
    for (const int held : {3, 17, 40, 41, 99})
        writePreset (library.getChildFile ("Held " + juce::String (held) + ".marlo"),
                     bank[static_cast<size_t> (held)]);
    outside.createDirectory();
    ASSERT_TRUE (LibraryExport::toSysEx (bank, outside.getChildFile ("Bank.syx")).wasOk());
    EXPECT_EQ ((outside.getChildFile ("Bank.syx")).getSize(), 100 * 103);

    const auto report = LibraryImport (read(), library)
                            .importAll (juce::Array<juce::File>{outside.getChildFile ("Bank.syx")});
    EXPECT_EQ (report.summary(), "Imported 95; 5 already in the library");
    EXPECT_TRUE (report.notImported.isEmpty()) << report.notImported.joinIntoString ("\n");
    const auto listed = paths();
    EXPECT_EQ (listed.size(), 100);
    EXPECT_TRUE (listed.contains ("Bank") && listed.contains ("Bank 2") && listed.contains ("Bank 95"));

    // Exported again, the imported files give back the dumps in the order given.
    std::vector<PresetCodec::Image> back;
    for (int n = 1; n <= 95; ++n)
        back.push_back (
            read()[static_cast<size_t> (listed.indexOf (NumberedFile::numbered ("Bank", n)))].image);
    ASSERT_TRUE (LibraryExport::toSysEx (back, outside.getChildFile ("Again.syx")).wasOk());
    std::vector<PresetCodec::Image> reread;
    ASSERT_TRUE (PresetDumps::read (outside.getChildFile ("Again.syx"), reread).wasOk());
    std::vector<PresetCodec::Image> expected;
    for (int n = 0; n < 100; ++n)
        if (n != 3 && n != 17 && n != 40 && n != 41 && n != 99)
            expected.push_back (bank[static_cast<size_t> (n)]);
    EXPECT_EQ (reread, expected);
    EXPECT_TRUE (LibraryExport::toSysEx (back, outside.getChildFile ("Again.syx")).failed())
        << "never written over";
}

TEST_F (LibraryImportTest, FolderKeepsItsGroupsAndNothingIsWrittenOver)
{
    writePreset (library.getChildFile ("Songs/Intro.marlo"), generatedPreset (1));
    writePreset (outside.getChildFile ("Songs/Intro.marlo"), generatedPreset (2));
    writePreset (outside.getChildFile ("Songs/Live/Encore.marlo"), generatedPreset (3));
    writePreset (outside.getChildFile ("Songs/Live/Same.marlo"), generatedPreset (3));
    writePreset (outside.getChildFile ("Songs/.git/Hidden.marlo"), generatedPreset (4));
    (outside.getChildFile ("Songs/readme.txt")).replaceWithText ("not read");
    (outside.getChildFile ("Old.zip")).replaceWithText ("PK");
    (outside.getChildFile ("Broken.syx")).replaceWithText ("no messages");

    const auto report = LibraryImport (read(), library)
                            .importAll (juce::Array<juce::File>{outside.getChildFile ("Songs"),
                                                                outside.getChildFile ("Old.zip"),
                                                                outside.getChildFile ("Broken.syx")});
    EXPECT_EQ (report.summary(), "Imported 2; 1 already in the library");
    EXPECT_EQ (report.notImported.size(), 2) << report.notImported.joinIntoString ("\n");
    EXPECT_TRUE (report.notImported[0].contains ("archives are not read"));
    EXPECT_EQ (paths(), juce::StringArray ({"Songs/Intro", "Songs/Intro 2", "Songs/Live/Encore"}));
    EXPECT_EQ (read()[0].image, generatedPreset (1));

    // Exporting as files into a folder numbers the names that are taken there.
    ASSERT_TRUE (LibraryExport::toFolder ({generatedPreset (5), generatedPreset (6)}, {"Intro", "Intro"},
                                          library.getChildFile ("Songs"))
                     .wasOk());
    EXPECT_TRUE ((library.getChildFile ("Songs/Intro 3.marlo")).existsAsFile());
    EXPECT_TRUE ((library.getChildFile ("Songs/Intro 4.marlo")).existsAsFile());
}
} // namespace
