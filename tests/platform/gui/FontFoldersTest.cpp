#include "platform/gui/FontFolders.h"
#include "support/SystemUnderTest.h"

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>

#include <cstdlib>

#if JUCE_LINUX || JUCE_BSD
namespace
{
constexpr const char* fontPathVariable = "JUCE_FONT_PATH";

/** Sets or clears the framework's font path for one test and puts back what was there. */
class FontPathScope
{
public:
    explicit FontPathScope (const char* value)
    {
        if (auto* previous = std::getenv (fontPathVariable))
            saved = previous;

        if (value != nullptr)
            setenv (fontPathVariable, value, 1);
        else
            unsetenv (fontPathVariable);
    }

    ~FontPathScope()
    {
        if (saved.isNotEmpty())
            setenv (fontPathVariable, saved.toRawUTF8(), 1);
        else
            unsetenv (fontPathVariable);
    }

private:
    juce::String saved;
};
} // namespace

TEST (FontFoldersTest, theSystemSansSerifIsAFamilyTheFrameworkKnowsByTheSameName)
{
    const auto choice = FontFolders::ofSystemSansSerif();
    ASSERT_TRUE (choice.family.isNotEmpty());
    ASSERT_FALSE (choice.folders.isEmpty());

    for (const auto& folder : choice.folders)
        EXPECT_TRUE (juce::File (folder).isDirectory()) << folder;

    // Family names from fontconfig and FreeType can differ; the framework knows only FreeType's.
    const FontPathScope unset (nullptr);
    FontFolders::buildFontList();
    EXPECT_TRUE (juce::Font::findAllTypefaceNames().contains (choice.family)) << choice.family;
    const auto styles = juce::Font::findAllTypefaceStyles (choice.family);
    EXPECT_TRUE (styles.contains ("Bold")) << styles.joinIntoString (", ");
}

TEST (FontFoldersTest, buildsTheListWithTheSystemSansSerifAndLeavesNoFontPathBehind)
{
    const FontPathScope unset (nullptr);
    EXPECT_TRUE (FontFolders::buildFontList());
    EXPECT_EQ (std::getenv (fontPathVariable), nullptr);
    EXPECT_TRUE (FontFolders::defaultSansSerifIs (FontFolders::ofSystemSansSerif().family));
    EXPECT_FALSE (FontFolders::defaultSansSerifIs ("No Such Family"));
}

TEST (FontFoldersTest, aFontPathTheUserSetIsLeftToTheFramework)
{
    const FontPathScope userPath ("/nowhere/fonts");
    EXPECT_FALSE (FontFolders::buildFontList());
    EXPECT_STREQ (std::getenv (fontPathVariable), "/nowhere/fonts");
}
#else
TEST (FontFoldersTest, theFrameworksOwnListIsLeftAloneAndItsSansSerifResolvesToAnInstalledFamily)
{
    EXPECT_TRUE (FontFolders::ofSystemSansSerif().family.isEmpty());
    EXPECT_FALSE (FontFolders::buildFontList());

    const juce::Font sansSerif (juce::Font::getDefaultSansSerifFontName(), 12.0f, juce::Font::plain);
    const auto typeface = juce::Font::getDefaultTypefaceForFont (sansSerif);
    ASSERT_NE (typeface, nullptr);
    EXPECT_TRUE (FontFolders::defaultSansSerifIs (typeface->getName()));
    EXPECT_FALSE (FontFolders::defaultSansSerifIs ("No Such Family"));

    MARLO_SKIP_UNDER_WINE ("the framework asks for " + typeface->getName() +
                           " there, which Wine takes from the host's fonts by another name");
    EXPECT_TRUE (juce::Font::findAllTypefaceNames().contains (typeface->getName())) << typeface->getName();
}
#endif
