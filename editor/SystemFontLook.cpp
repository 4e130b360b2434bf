#include "editor/SystemFontLook.h"

#include "editor/FontFileTypeface.h"

namespace
{
/** Fonts the user chose through the framework's own path, or a font configuration of their own
    that the system's cache would follow where the framework does not: the framework finds the
    fonts then, as it always has. */
bool fontsAreFoundByTheFramework()
{
    for (const auto* variable : {"JUCE_FONT_PATH", "FONTCONFIG_FILE", "FONTCONFIG_PATH"})
        if (juce::SystemStats::getEnvironmentVariable (variable, {}).isNotEmpty())
            return true;

    return false;
}
} // namespace

SystemFontLook::SystemFontLook()
{
    if (!fontsAreFoundByTheFramework())
        pendingCatalogue = std::async (std::launch::async, FontCatalogue::fromSystem);
}

SystemFontLook::~SystemFontLook() = default;

juce::Typeface::Ptr SystemFontLook::getTypefaceForFont (const juce::Font& font)
{
    if (font.getTypefaceName() == juce::Font::getDefaultSansSerifFontName())
        if (auto typeface = defaultSansSerif (font.getTypefaceStyle()))
            return typeface;

    return juce::LookAndFeel_V4::getTypefaceForFont (font);
}

juce::Typeface::Ptr SystemFontLook::defaultSansSerif (const juce::String& style)
{
    if (catalogue == nullptr && pendingCatalogue.valid())
        catalogue = std::make_unique<FontCatalogue> (pendingCatalogue.get());

    if (catalogue == nullptr)
        return nullptr;

    const auto face = catalogue->defaultSansSerif (style);

    if (!face.has_value())
        return nullptr;

    // One typeface per face, so every size and every window shares the glyphs already read.
    const auto key = face->file.getFullPathName() + "#" + juce::String (face->index);
    auto& typeface = opened[key];

    if (typeface == nullptr)
        typeface = FontFileTypeface::open (face->file, face->index, face->family, face->style);

    return typeface;
}
