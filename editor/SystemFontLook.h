#pragma once

#include "editor/FontCatalogue.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <future>
#include <map>
#include <memory>

/** The framework's own look, as the application's default look and feel, with one change: its
    default sans-serif font, the one every window's text uses, is found through the system's font
    cache and read glyph by glyph, instead of after the framework has opened every installed font.
    The face chosen and the pixels drawn are the framework's; other fonts, a desktop where the cache
    cannot be read, and fonts the user points to through the environment (JUCE_FONT_PATH,
    FONTCONFIG_FILE, FONTCONFIG_PATH) are left to the framework. */
class SystemFontLook final : public juce::LookAndFeel_V4
{
public:
    SystemFontLook();
    ~SystemFontLook() override;

    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;

private:
    juce::Typeface::Ptr defaultSansSerif (const juce::String& style);

    // Read on a thread of its own from construction, taken when the first text is measured; not
    // read at all when the framework finds the fonts.
    std::future<FontCatalogue> pendingCatalogue;
    std::unique_ptr<FontCatalogue> catalogue;
    std::map<juce::String, juce::Typeface::Ptr> opened;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SystemFontLook)
};
