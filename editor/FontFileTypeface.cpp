#include "editor/FontFileTypeface.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace
{
/** A glyph's contours as a path one unit high. The points are read exactly as the framework reads
    them (scaled one by one, midpoints of two control points taken after scaling), so the path and
    the pixels drawn from it are the same. False if a cubic segment is malformed. */
class OutlineReader
{
public:
    OutlineReader (const FT_Outline& glyphOutline, float unitsToHeight)
        : outline (glyphOutline), scale (unitsToHeight)
    {
    }

    bool read (juce::Path& path) const
    {
        for (int contour = 0; contour < outline.n_contours; ++contour)
        {
            const auto first = contour == 0 ? 0 : outline.contours[contour - 1] + 1;

            if (!readContour (path, first, outline.contours[contour]))
                return false;

            path.closeSubPath();
        }

        return true;
    }

private:
    juce::Point<float> at (int index) const
    {
        return {scale * static_cast<float> (outline.points[index].x),
                -scale * static_cast<float> (outline.points[index].y)};
    }

    int tag (int index) const { return FT_CURVE_TAG (outline.tags[index]); }

    static juce::Point<float> midpoint (juce::Point<float> a, juce::Point<float> b)
    {
        return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f};
    }

    bool readContour (juce::Path& path, int first, int last) const
    {
        for (int p = first; p <= last; ++p)
        {
            const auto point = at (p);

            if (p == first)
            {
                // A contour may open on a control point; it then starts where the curve from the
                // last point meets it.
                if (tag (p) == FT_CURVE_TAG_CONIC)
                    path.startNewSubPath (tag (last) == FT_CURVE_TAG_ON ? at (last)
                                                                        : midpoint (point, at (last)));
                else
                    path.startNewSubPath (point);
            }

            if (tag (p) == FT_CURVE_TAG_ON)
            {
                if (p != first)
                    path.lineTo (point);
            }
            else if (tag (p) == FT_CURVE_TAG_CONIC)
            {
                const auto next = p == last ? first : p + 1;
                auto end = at (next);

                if (tag (next) == FT_CURVE_TAG_CONIC)
                    end = midpoint (point, end);
                else
                    ++p;

                path.quadraticTo (point, end);
            }
            else if (tag (p) == FT_CURVE_TAG_CUBIC)
            {
                const auto second = p + 1;
                const auto end = p == last - 1 ? first : p + 2;

                if (p >= last || tag (second) != FT_CURVE_TAG_CUBIC || tag (end) != FT_CURVE_TAG_ON)
                    return false;

                path.cubicTo (point, at (second), at (end));
                p += 2;
            }
        }

        return true;
    }

    const FT_Outline& outline;
    const float scale;
};
} // namespace

void FontFileTypeface::LibraryCloser::operator() (FT_LibraryRec_* openLibrary) const
{
    FT_Done_FreeType (openLibrary);
}

void FontFileTypeface::FaceCloser::operator() (FT_FaceRec_* openFace) const
{
    FT_Done_Face (openFace);
}

juce::Typeface::Ptr FontFileTypeface::open (const juce::File& file, int faceIndex,
                                            const juce::String& familyName, const juce::String& styleName)
{
    FT_Library rawLibrary = nullptr;

    if (FT_Init_FreeType (&rawLibrary) != 0)
        return nullptr;

    Library library (rawLibrary);
    FT_Face rawFace = nullptr;

    if (FT_New_Face (rawLibrary, file.getFullPathName().toRawUTF8(), faceIndex, &rawFace) != 0)
        return nullptr;

    Face face (rawFace);

    if (FT_Select_Charmap (rawFace, FT_ENCODING_UNICODE) != 0 && rawFace->num_charmaps > 0)
        FT_Set_Charmap (rawFace, rawFace->charmaps[0]);

    if (rawFace->ascender - rawFace->descender <= 0)
        return nullptr;

    return new FontFileTypeface (std::move (library), std::move (face), familyName, styleName);
}

FontFileTypeface::FontFileTypeface (Library newLibrary, Face newFace, const juce::String& familyName,
                                    const juce::String& styleName)
    : library (std::move (newLibrary)), face (std::move (newFace))
{
    const auto height = static_cast<float> (face->ascender - face->descender);
    setCharacteristics (familyName, styleName, static_cast<float> (face->ascender) / height, L' ');
}

FontFileTypeface::~FontFileTypeface() = default;

float FontFileTypeface::getStringWidth (const juce::String& text)
{
    loadCharacters (text);
    return CustomTypeface::getStringWidth (text);
}

void FontFileTypeface::getGlyphPositions (const juce::String& text, juce::Array<int>& glyphNumbers,
                                          juce::Array<float>& xOffsets)
{
    loadCharacters (text);
    CustomTypeface::getGlyphPositions (text, glyphNumbers, xOffsets);
}

void FontFileTypeface::loadCharacters (const juce::String& text)
{
    for (auto t = text.getCharPointer(); !t.isEmpty();)
    {
        const auto character = t.getAndAdvance();

        if (tried.count (character) == 0)
            loadGlyphIfPossible (character);
    }
}

bool FontFileTypeface::loadGlyphIfPossible (juce::juce_wchar character)
{
    // A character the face lacks is asked for again and again; FreeType is asked only once.
    if (!tried.insert (character).second)
        return false;

    const auto glyphIndex = FT_Get_Char_Index (face.get(), static_cast<FT_ULong> (character));

    if (FT_Load_Glyph (face.get(), glyphIndex,
                       FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_IGNORE_TRANSFORM |
                           FT_LOAD_NO_HINTING) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return false;

    const auto scale = 1.0f / static_cast<float> (face->ascender - face->descender);
    juce::Path shape;

    if (!OutlineReader (face->glyph->outline, scale).read (shape))
        return false;

    addGlyph (character, shape, static_cast<float> (face->glyph->metrics.horiAdvance) * scale);
    loaded.add ({character, glyphIndex});

    if (FT_HAS_KERNING (face.get()))
        addKerningWithLoaded (character, glyphIndex);

    return true;
}

void FontFileTypeface::addKerningWithLoaded (juce::juce_wchar character, unsigned int glyphIndex)
{
    const auto height = static_cast<float> (face->ascender - face->descender);

    const auto kern = [this, height] (juce::juce_wchar left, unsigned int leftGlyph, juce::juce_wchar right,
                                      unsigned int rightGlyph)
    {
        FT_Vector kerning{};

        if (FT_Get_Kerning (face.get(), leftGlyph, rightGlyph, FT_KERNING_UNSCALED, &kerning) == 0 &&
            kerning.x != 0)
            addKerningPair (left, right, static_cast<float> (kerning.x) / height);
    };

    // Every pair of characters read so far is then known, in both orders and with itself.
    for (const auto& [other, otherGlyph] : loaded)
    {
        kern (character, glyphIndex, other, otherGlyph);

        if (other != character)
            kern (other, otherGlyph, character, glyphIndex);
    }
}
