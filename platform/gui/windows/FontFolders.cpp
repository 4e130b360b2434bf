#include "platform/gui/FontFolders.h"

#include <juce_graphics/juce_graphics.h>

// The framework lists Windows' fonts through GDI, which names the installed families without
// opening their files, and draws with its own default sans-serif: there is no fontconfig to ask and
// no scan of font files to cut short, so the list is left to the framework.

FontFolders::Choice FontFolders::ofSystemSansSerif()
{
    return {};
}

bool FontFolders::buildFontList()
{
    return false;
}

bool FontFolders::defaultSansSerifIs (const juce::String& family)
{
    const juce::Font sansSerif (juce::Font::getDefaultSansSerifFontName(), 12.0f, juce::Font::plain);
    const auto typeface = juce::Font::getDefaultTypefaceForFont (sansSerif);
    return typeface != nullptr && typeface->getName() == family;
}
