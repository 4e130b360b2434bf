#include "editor/SystemFontLook.h"

#include "editor/FontFileTypeface.h"

SystemFontLook::SystemFontLook()
    : pendingCatalogue (std::async (std::launch::async, FontCatalogue::fromSystem))
{
}

SystemFontLook::~SystemFontLook() = default;

juce::Typeface::Ptr SystemFontLook::getTypefaceForFont (const juce::Font& font)
{
    if (font.getTypefaceName() == juce::Font::getDefaultSansSerifFontName() &&
        juce::SystemStats::getEnvironmentVariable ("JUCE_FONT_PATH", {}).isEmpty())
        if (auto typeface = defaultSansSerif (font.getTypefaceStyle()))
            return typeface;

    return juce::LookAndFeel_V4::getTypefaceForFont (font);
}

juce::Typeface::Ptr SystemFontLook::defaultSansSerif (const juce::String& style)
{
    if (catalogue == nullptr)
        catalogue = std::make_unique<FontCatalogue> (pendingCatalogue.get());

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
