#include "platform/gui/FontFolders.h"

#include <juce_graphics/juce_graphics.h>

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <memory>

namespace
{
constexpr const char* fontPathVariable = "JUCE_FONT_PATH";

struct ConfigDeleter
{
    void operator() (FcConfig* config) const { FcConfigDestroy (config); }
};

struct PatternDeleter
{
    void operator() (FcPattern* pattern) const { FcPatternDestroy (pattern); }
};

using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

/** The file fontconfig chooses for a pattern such as "sans-serif:bold", and its family. */
std::pair<juce::File, juce::String> match (FcConfig* config, const char* name)
{
    Pattern pattern (FcNameParse (reinterpret_cast<const FcChar8*> (name)));

    if (pattern == nullptr)
        return {};

    FcConfigSubstitute (config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute (pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern found (FcFontMatch (config, pattern.get(), &result));
    FcChar8* file = nullptr;
    FcChar8* family = nullptr;

    if (found == nullptr || FcPatternGetString (found.get(), FC_FILE, 0, &file) != FcResultMatch ||
        FcPatternGetString (found.get(), FC_FAMILY, 0, &family) != FcResultMatch)
        return {};

    return {juce::File (juce::CharPointer_UTF8 (reinterpret_cast<const char*> (file))),
            juce::String (juce::CharPointer_UTF8 (reinterpret_cast<const char*> (family)))};
}
} // namespace

FontFolders::Choice FontFolders::ofSystemSansSerif()
{
    std::unique_ptr<FcConfig, ConfigDeleter> config (FcInitLoadConfigAndFonts());

    if (config == nullptr)
        return {};

    Choice choice;

    for (auto* name : {"sans-serif", "sans-serif:bold"})
    {
        const auto [file, family] = match (config.get(), name);

        if (!file.existsAsFile())
            return {};

        if (choice.family.isEmpty())
            choice.family = family;

        choice.folders.addIfNotAlreadyThere (file.getParentDirectory().getFullPathName());
    }

    return choice;
}

bool FontFolders::buildFontList()
{
    if (std::getenv (fontPathVariable) != nullptr)
        return false;

    const auto choice = ofSystemSansSerif();

    if (choice.family.isEmpty())
        return false;

    setenv (fontPathVariable, choice.folders.joinIntoString (";").toRawUTF8(), 1);
    juce::Font::findAllTypefaceNames();
    unsetenv (fontPathVariable);
    return defaultSansSerifIs (choice.family);
}

bool FontFolders::defaultSansSerifIs (const juce::String& family)
{
    const juce::Font sansSerif (juce::Font::getDefaultSansSerifFontName(), 12.0f, juce::Font::plain);
    const auto typeface = juce::Font::getDefaultTypefaceForFont (sansSerif);
    return typeface != nullptr && typeface->getName() == family;
}
