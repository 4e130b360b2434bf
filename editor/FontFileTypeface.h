#pragma once

#include <juce_graphics/juce_graphics.h>

#include <memory>
#include <set>

struct FT_LibraryRec_;
struct FT_FaceRec_;

/** One face of a font file, read with FreeType as the framework reads system fonts (same outlines,
    advances, ascent and kerning, so text looks the same), but opened without the framework's scan of
    every installed font, and with kerning looked up only between characters actually used instead
    of against every character of the font each time a glyph is first drawn. */
class FontFileTypeface final : public juce::CustomTypeface
{
public:
    /** Face `faceIndex` of a font file, named as given; nullptr if FreeType cannot read it. */
    static juce::Typeface::Ptr open (const juce::File& file, int faceIndex, const juce::String& familyName,
                                     const juce::String& styleName);

    ~FontFileTypeface() override;

    float getStringWidth (const juce::String& text) override;
    void getGlyphPositions (const juce::String& text, juce::Array<int>& glyphNumbers,
                            juce::Array<float>& xOffsets) override;

protected:
    bool loadGlyphIfPossible (juce::juce_wchar character) override;

private:
    struct LibraryCloser
    {
        void operator() (FT_LibraryRec_* openLibrary) const;
    };

    struct FaceCloser
    {
        void operator() (FT_FaceRec_* openFace) const;
    };

    using Library = std::unique_ptr<FT_LibraryRec_, LibraryCloser>;
    using Face = std::unique_ptr<FT_FaceRec_, FaceCloser>;

    FontFileTypeface (Library library, Face face, const juce::String& familyName,
                      const juce::String& styleName);

    /** Reads every character of a text before it is measured, so the pairs between them are known. */
    void loadCharacters (const juce::String& text);
    void addKerningWithLoaded (juce::juce_wchar character, unsigned int glyphIndex);

    // The face is closed before the library that made it.
    Library library;
    Face face;
    std::set<juce::juce_wchar> tried;
    juce::Array<std::pair<juce::juce_wchar, unsigned int>> loaded;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FontFileTypeface)
};
