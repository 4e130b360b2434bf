#include <gtest/gtest.h>

#include "support/SystemUnderTest.h"

#include "app/LaunchOptions.h"

namespace
{
const auto workingFolder = SystemUnderTest::fullPath ("/home/ann/Presets");
const auto separator = juce::File::getSeparatorString();
} // namespace

TEST (LaunchOptionsTest, ANameKeepsItsQuotesAndSpaces)
{
    for (const auto* name : {"'a.marlo", "a.marlo'", "\"a.marlo\"", "\"a.marlo", " Stage Piano .marlo ",
                             "~a.marlo", "it's \"live\".marlo"})
    {
        const LaunchOptions options ({name});
        EXPECT_EQ (options.getDocumentArgument(), juce::String (name));
        EXPECT_TRUE (options.namesAFile()) << name;
        EXPECT_TRUE (options.getProblems().isEmpty()) << name;
        // Handed over and opened under exactly that name in the launch's folder.
        const auto kept = SystemUnderTest::nameAsKept (name);
        EXPECT_EQ (options.forHandOver (workingFolder), workingFolder.getFullPathName() + separator + kept);
        EXPECT_EQ (LaunchOptions::resolve (workingFolder, name).getFileName(), kept);
    }

    EXPECT_EQ (LaunchOptions ({"/tmp/'b.marlo"}).forHandOver (workingFolder),
               SystemUnderTest::fullPath ("/tmp/'b.marlo").getFullPathName());
    EXPECT_EQ (LaunchOptions ({"sub/c.marlo"}).forHandOver (workingFolder),
               workingFolder.getFullPathName() + separator + "sub" + separator + "c.marlo");
}

TEST (LaunchOptionsTest, TheSimulatedDeviceOptionAndDashArguments)
{
    const LaunchOptions both ({"--simulated-device", "a b.marlo"});
    EXPECT_TRUE (both.wantsSimulatedDevice());
    EXPECT_EQ (both.getDocumentArgument(), "a b.marlo");

    const LaunchOptions after ({"a.marlo", "--simulated-device"});
    EXPECT_TRUE (after.wantsSimulatedDevice());
    EXPECT_EQ (after.getDocumentArgument(), "a.marlo");

    // An argument beginning with "-" asks for a new document, and is handed over as it is.
    const LaunchOptions dash ({"-psn_0_12345", "a.marlo"});
    EXPECT_FALSE (dash.wantsSimulatedDevice());
    EXPECT_FALSE (dash.namesAFile());
    EXPECT_EQ (dash.forHandOver (workingFolder), "-psn_0_12345");

    const LaunchOptions nothing ({});
    EXPECT_FALSE (nothing.namesAFile());
    EXPECT_EQ (nothing.forHandOver (workingFolder), "");
    EXPECT_FALSE (LaunchOptions ({"--simulated-device"}).namesAFile());
}

TEST (LaunchOptionsTest, OneFilePerLaunchAndTheRestIsReported)
{
    const LaunchOptions two ({"a.marlo", "b c.marlo"});
    EXPECT_EQ (two.getDocumentArgument(), "a.marlo");
    ASSERT_EQ (two.getProblems().size(), 1);
    EXPECT_TRUE (two.getProblems()[0].contains ("\"b c.marlo\"")) << two.getProblems()[0];
}

TEST (LaunchOptionsTest, ANameThatIsNotUtf8IsRefusedAndNamedNeverTakenForAnother)
{
    // A stray byte, an overlong "/" (leniently read: "a/b.marlo") and a cut-off sequence.
    const std::vector<std::pair<std::string, juce::String>> refused{{"K\xe4se.marlo", "K\\xe4se.marlo"},
                                                                    {"a\xc0\xaf"
                                                                     "b.marlo",
                                                                     "a\\xc0\\xafb.marlo"},
                                                                    {"end\xe2\x99", "end\\xe2\\x99"}};

    for (const auto& [name, shown] : refused)
    {
        const LaunchOptions options ({"--simulated-device", name, "other.marlo"});
        EXPECT_TRUE (options.wantsSimulatedDevice());
        // No file at all: not a neighbour, and not the next argument either.
        EXPECT_TRUE (options.getDocumentArgument().isEmpty()) << shown;
        EXPECT_FALSE (options.namesAFile());
        EXPECT_EQ (options.forHandOver (workingFolder), "");
        ASSERT_EQ (options.getProblems().size(), 2) << shown;
        EXPECT_TRUE (options.getProblems()[0].contains (shown)) << options.getProblems()[0];
        EXPECT_TRUE (options.getProblems()[0].contains ("not UTF-8"));
    }

    // Proper UTF-8 is a name like any other.
    EXPECT_EQ (LaunchOptions ({"K\xc3\xa4se \xe2\x99\xab.marlo"}).getDocumentArgument(),
               juce::String (juce::CharPointer_UTF8 ("K\xc3\xa4se \xe2\x99\xab.marlo")));
}

TEST (LaunchOptionsTest, OnlyTheFrameworksOwnQuotesComeOffItsText)
{
    EXPECT_EQ (LaunchOptions::fromFrameworkText ("\"/tmp/Stage Piano.marlo\""), "/tmp/Stage Piano.marlo");
    EXPECT_EQ (LaunchOptions::fromFrameworkText ("'a.marlo"), "'a.marlo");
    EXPECT_EQ (LaunchOptions::fromFrameworkText ("'a.marlo'"), "'a.marlo'");
    EXPECT_EQ (LaunchOptions::fromFrameworkText ("\"a.marlo"), "\"a.marlo");
    EXPECT_EQ (LaunchOptions::fromFrameworkText ("\""), "\"");
}
