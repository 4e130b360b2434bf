#include <gtest/gtest.h>

#include "editor/FontCatalogue.h"
#include "editor/FontFileTypeface.h"
#include "editor/SystemFontLook.h"

#include <cstdlib>

namespace
{
FontCatalogue::Face face (const char* family, const char* style, const char* file = nullptr, int index = 0)
{
    return {family, style,
            juce::File (file != nullptr ? juce::String (file)
                                        : "/fonts/" + juce::String (family) + "-" + style + ".ttf"),
            index};
}

juce::String chosen (const FontCatalogue& catalogue, const juce::String& style)
{
    const auto found = catalogue.defaultSansSerif (style);
    return found.has_value() ? found->family + " / " + found->style + " / " + found->file.getFileName() +
                                   " #" + juce::String (found->index)
                             : "none";
}

juce::Typeface::Ptr frameworkTypeface (const juce::Font& font)
{
    return juce::Font::getDefaultTypefaceForFont (font);
}

juce::Typeface::Ptr catalogueTypeface (const juce::Font& font)
{
    SystemFontLook look;
    return look.getTypefaceForFont (font);
}

const char* const sampleTexts[] = {
    "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~",
    "AVATAR Wave To LT P. Yo Ty \"Fa\" r, y. AWAY",
    "Keybed MIDI Channel  Pad 1 Bank MSB  Aftertouch  Mod/Pitch  Sustain",
    "Get Preset from Hardware  Save Preset to Hard Drive  File Not Saved",
};
} // namespace

TEST (FontCatalogue, PrefersFamiliesInTheFrameworksOrder)
{
    EXPECT_EQ (
        chosen (FontCatalogue ({face ("DejaVu Sans", "Book"), face ("Verdana", "Regular")}), "Regular"),
        "Verdana / Regular / Verdana-Regular.ttf #0");
    EXPECT_EQ (chosen (FontCatalogue ({face ("DejaVu Sans", "Book"), face ("Liberation Sans", "Regular")}),
                       "Regular"),
               "Liberation Sans / Regular / Liberation Sans-Regular.ttf #0");
    // An exact name wins over a longer family that starts with it.
    EXPECT_EQ (
        chosen (FontCatalogue ({face ("DejaVu Sans Mono", "Book"), face ("DejaVu Sans", "Book")}), "Regular"),
        "DejaVu Sans / Book / DejaVu Sans-Book.ttf #0");
    // No preferred family: one that starts with a preferred name, then one that contains one.
    EXPECT_EQ (
        chosen (FontCatalogue ({face ("Noto Sans", "Regular"), face ("Sans Pro", "Regular")}), "Regular"),
        "Sans Pro / Regular / Sans Pro-Regular.ttf #0");
    EXPECT_EQ (
        chosen (FontCatalogue ({face ("Noto Sans", "Regular"), face ("Ubuntu", "Regular")}), "Regular"),
        "Noto Sans / Regular / Noto Sans-Regular.ttf #0");
    // Serif families only: no sans-serif face to give.
    EXPECT_EQ (chosen (FontCatalogue ({face ("Times", "Roman"), face ("P052", "Roman")}), "Regular"), "none");
    EXPECT_EQ (chosen (FontCatalogue ({}), "Regular"), "none");
}

TEST (FontCatalogue, GivesTheStyleAskedForOrTheFamilysMostRegular)
{
    const FontCatalogue catalogue ({face ("DejaVu Sans", "Oblique"), face ("DejaVu Sans", "Bold"),
                                    face ("DejaVu Sans", "ExtraLight"), face ("DejaVu Sans", "Book"),
                                    face ("DejaVu Sans", "Bold Oblique")});

    EXPECT_EQ (chosen (catalogue, "Regular"), "DejaVu Sans / Book / DejaVu Sans-Book.ttf #0");
    EXPECT_EQ (chosen (catalogue, "Bold"), "DejaVu Sans / Bold / DejaVu Sans-Bold.ttf #0");
    EXPECT_EQ (chosen (catalogue, "Bold Oblique"),
               "DejaVu Sans / Bold Oblique / DejaVu Sans-Bold Oblique.ttf #0");
    EXPECT_EQ (chosen (catalogue, "Italic"), "DejaVu Sans / Book / DejaVu Sans-Book.ttf #0");

    // Two faces of one family and style: the lower face index, then the path, as the framework sorts.
    const FontCatalogue twice ({face ("Verdana", "Regular", "/b/verdana.ttc", 1),
                                face ("Verdana", "Regular", "/z/verdana.ttf", 0),
                                face ("Verdana", "Regular", "/a/verdana.ttf", 0)});
    EXPECT_EQ (chosen (twice, "Regular"), "Verdana / Regular / verdana.ttf #0");
    EXPECT_EQ (twice.defaultSansSerif ("Regular")->file.getFullPathName(), "/a/verdana.ttf");
}

TEST (SystemFonts, TheDesktopsDefaultFaceIsTheOneTheFrameworkPicks)
{
    EXPECT_FALSE (FontCatalogue::fromSystem().getFaces().empty());

    const int styles[] = {juce::Font::plain, juce::Font::bold, juce::Font::italic,
                          juce::Font::bold | juce::Font::italic};

    for (const auto style : styles)
    {
        const juce::Font font (15.0f, style);
        const auto ours = catalogueTypeface (font);
        const auto theirs = frameworkTypeface (font);
        SCOPED_TRACE (font.getTypefaceStyle().toStdString());

        ASSERT_NE (dynamic_cast<FontFileTypeface*> (ours.get()), nullptr);
        EXPECT_EQ (ours->getName(), theirs->getName());
        EXPECT_EQ (ours->getStyle(), theirs->getStyle());
        EXPECT_FLOAT_EQ (ours->getAscent(), theirs->getAscent());
    }
}

// The renderer caches glyph pictures by font name, style and size, not by typeface, so drawing the
// same text with both would compare the cache with itself. Identical outlines and positions are
// what makes the pixels identical.
TEST (SystemFonts, GlyphOutlinesAreExactlyTheFrameworksOwn)
{
    for (const int style : {int (juce::Font::plain), int (juce::Font::bold)})
    {
        const juce::Font font (15.0f, style);
        const auto ours = catalogueTypeface (font);
        const auto theirs = frameworkTypeface (font);
        int compared = 0;

        // Printable ASCII and Latin-1, the ellipsis text is shortened with, and a character no
        // font has (drawn as the font's missing-glyph box by both).
        juce::Array<juce::juce_wchar> characters{0x2026, 0xe000};
        for (juce::juce_wchar c = 0x20; c < 0x7f; ++c)
            characters.add (c);
        for (juce::juce_wchar c = 0xa0; c <= 0xff; ++c)
            characters.add (c);

        for (const auto character : characters)
        {
            juce::Path ourOutline, theirOutline;
            SCOPED_TRACE (static_cast<int> (character));

            EXPECT_EQ (ours->getOutlineForGlyph (static_cast<int> (character), ourOutline),
                       theirs->getOutlineForGlyph (static_cast<int> (character), theirOutline));
            EXPECT_TRUE (ourOutline == theirOutline);
            compared += ourOutline.isEmpty() ? 0 : 1;
        }

        EXPECT_GT (compared, 150);
    }
}

TEST (SystemFonts, TextIsMeasuredAndPlacedExactlyAsTheFrameworkDoes)
{
    for (const int style : {int (juce::Font::plain), int (juce::Font::bold)})
    {
        const juce::Font font (15.0f, style);
        const auto theirs = frameworkTypeface (font);

        for (const auto* text : sampleTexts)
        {
            // A fresh face each time, so kerning is checked with no other glyph read before.
            const auto ours = catalogueTypeface (font);
            juce::Array<int> ourGlyphs, theirGlyphs;
            juce::Array<float> ourOffsets, theirOffsets;
            SCOPED_TRACE (text);

            ours->getGlyphPositions (text, ourGlyphs, ourOffsets);
            theirs->getGlyphPositions (text, theirGlyphs, theirOffsets);
            EXPECT_EQ (ourGlyphs, theirGlyphs);
            EXPECT_EQ (ourOffsets, theirOffsets);
            EXPECT_FLOAT_EQ (catalogueTypeface (font)->getStringWidth (text), theirs->getStringWidth (text));
        }
    }
}

TEST (SystemFonts, KerningDoesNotDependOnWhichGlyphsWereReadFirst)
{
    const auto theirs = frameworkTypeface (juce::Font (15.0f, juce::Font::plain));
    const auto face = FontCatalogue::fromSystem().defaultSansSerif ("Regular");
    ASSERT_TRUE (face.has_value());

    // Glyphs read one by one, as drawing does, before a pair of them is measured together.
    auto ours = FontFileTypeface::open (face->file, face->index, face->family, face->style);
    juce::Path outline;
    for (const auto* glyph : {"V", "A", "T", "o"})
        ours->getOutlineForGlyph (juce::String (glyph)[0], outline);

    for (const auto* pair : {"AV", "VA", "To", "AA", "oT"})
        EXPECT_FLOAT_EQ (ours->getStringWidth (pair), theirs->getStringWidth (pair)) << pair;

    // A kerned pair really is narrower than its glyphs apart, or this test proves nothing.
    EXPECT_LT (ours->getStringWidth ("AV"), ours->getStringWidth ("A") + ours->getStringWidth ("V"));
}

TEST (SystemFonts, OtherFontsAndFontsChosenThroughTheEnvironmentAreLeftToTheFramework)
{
    SystemFontLook look;
    EXPECT_NE (dynamic_cast<FontFileTypeface*> (look.getTypefaceForFont (juce::Font (15.0f)).get()), nullptr);

    const auto serif = look.getTypefaceForFont (juce::Font (juce::Font::getDefaultSerifFontName(), 15.0f, 0));
    EXPECT_EQ (dynamic_cast<FontFileTypeface*> (serif.get()), nullptr);

    // Set before a look is made, which then reads nothing on a thread of its own.
    for (const auto* variable : {"JUCE_FONT_PATH", "FONTCONFIG_FILE", "FONTCONFIG_PATH"})
    {
        ::setenv (variable, "/usr/share/fonts", 1);
        SystemFontLook withVariable;
        EXPECT_EQ (
            dynamic_cast<FontFileTypeface*> (withVariable.getTypefaceForFont (juce::Font (15.0f)).get()),
            nullptr)
            << variable;
        ::unsetenv (variable);
    }
}

TEST (FontCatalogue, KeepsOnlyFacesInTheFoldersTheFrameworkReads)
{
    const auto kept = FontCatalogue::inFolders (
        {face ("Verdana", "Regular", "/home/someone/extra/verdana.ttf"),
         face ("DejaVu Sans", "Book", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"),
         face ("Liberation Sans", "Regular", "/usr/share/fontsextra/LiberationSans.ttf")},
        {juce::File ("/usr/share/fonts"), juce::File ("/usr/local/share/fonts")});

    ASSERT_EQ (kept.size(), 1u);
    EXPECT_EQ (kept[0].family, "DejaVu Sans");

    // This machine's fonts.conf names the system's font folder, and every face the catalogue
    // gives lies in one of the folders it names.
    const auto folders = FontCatalogue::frameworkFontFolders();
    EXPECT_TRUE (folders.contains (juce::File ("/usr/share/fonts")));

    const auto catalogue = FontCatalogue::fromSystem();
    EXPECT_FALSE (catalogue.getFaces().empty());

    for (const auto& installed : catalogue.getFaces())
        EXPECT_EQ (FontCatalogue::inFolders ({installed}, folders).size(), 1u)
            << installed.file.getFullPathName();
}

TEST (SystemFonts, AFileThatIsNoFontGivesNoTypeface)
{
    const juce::TemporaryFile notAFont (".ttf");
    ASSERT_TRUE (notAFont.getFile().replaceWithText ("not a font"));

    EXPECT_EQ (FontFileTypeface::open (notAFont.getFile(), 0, "Nothing", "Regular"), nullptr);
    EXPECT_EQ (FontFileTypeface::open (juce::File ("/no/such/font.ttf"), 0, "Nothing", "Regular"), nullptr);
}
