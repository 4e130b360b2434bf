#include "editor/FontCatalogue.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <tuple>

namespace
{
// What the framework prefers for its default sans-serif font, best first.
const char* const sansSerifPreference[] = {"Verdana",         "Bitstream Vera Sans", "Luxi Sans",
                                           "Liberation Sans", "DejaVu Sans",         "Sans"};

// The file types the framework reads fonts from.
const char* const fontFileTypes = "ttf;pfb;pcf;otf";

/** Regular styles before bold before italic before the rest, as the framework orders them. */
int styleRank (const juce::String& style)
{
    if (style == "Regular")
        return 0;
    if (style == "Roman")
        return 1;
    if (style == "Book")
        return 2;
    if (style.containsIgnoreCase ("Bold"))
        return 3;
    if (style.containsIgnoreCase ("Italic"))
        return 4;
    return 5;
}

bool isSansSerifFamily (const juce::String& family)
{
    for (const auto* name : {"Sans", "Verdana", "Arial", "Ubuntu"})
        if (family.containsIgnoreCase (name))
            return true;

    return false;
}

bool comesBefore (const FontCatalogue::Face& a, const FontCatalogue::Face& b)
{
    const auto key = [] (const FontCatalogue::Face& face)
    { return std::make_tuple (face.family, styleRank (face.style), face.style, face.index, face.file); };

    return key (a) < key (b);
}

/** The few functions of the system's font configuration library that the catalogue uses. The
    library is opened only while the list is read: the editor needs nothing else from it, and would
    otherwise keep it, and the XML parser it brings, in memory for the whole run. */
class FontConfigLibrary
{
public:
    FontConfigLibrary() { loaded = library.open ("libfontconfig.so.1") && loadAll(); }

    bool isLoaded() const noexcept { return loaded; }

    decltype (&FcInitLoadConfigAndFonts) initLoadConfigAndFonts = nullptr;
    decltype (&FcConfigDestroy) configDestroy = nullptr;
    decltype (&FcPatternCreate) patternCreate = nullptr;
    decltype (&FcPatternDestroy) patternDestroy = nullptr;
    decltype (&FcObjectSetBuild) objectSetBuild = nullptr;
    decltype (&FcObjectSetDestroy) objectSetDestroy = nullptr;
    decltype (&FcFontList) fontList = nullptr;
    decltype (&FcFontSetDestroy) fontSetDestroy = nullptr;
    decltype (&FcPatternGetString) patternGetString = nullptr;
    decltype (&FcPatternGetInteger) patternGetInteger = nullptr;
    decltype (&FcPatternGetBool) patternGetBool = nullptr;

private:
    template <typename Function> bool load (Function& function, const char* name)
    {
        function = reinterpret_cast<Function> (library.getFunction (name));
        return function != nullptr;
    }

    bool loadAll()
    {
        return load (initLoadConfigAndFonts, "FcInitLoadConfigAndFonts") &&
               load (configDestroy, "FcConfigDestroy") && load (patternCreate, "FcPatternCreate") &&
               load (patternDestroy, "FcPatternDestroy") && load (objectSetBuild, "FcObjectSetBuild") &&
               load (objectSetDestroy, "FcObjectSetDestroy") && load (fontList, "FcFontList") &&
               load (fontSetDestroy, "FcFontSetDestroy") && load (patternGetString, "FcPatternGetString") &&
               load (patternGetInteger, "FcPatternGetInteger") && load (patternGetBool, "FcPatternGetBool");
    }

    juce::DynamicLibrary library;
    bool loaded = false;
};

juce::String firstString (const FontConfigLibrary& fc, FcPattern* pattern, const char* object)
{
    FcChar8* value = nullptr;

    if (fc.patternGetString (pattern, object, 0, &value) != FcResultMatch || value == nullptr)
        return {};

    return juce::String::fromUTF8 (reinterpret_cast<const char*> (value));
}

/** A face of the list, or nothing for one the framework would not read: a bitmap font, another
    file type, or a named instance of a variable font. */
std::optional<FontCatalogue::Face> faceOf (const FontConfigLibrary& fc, FcPattern* pattern)
{
    FcBool scalable = FcFalse;
    int index = 0;

    if (fc.patternGetBool (pattern, FC_SCALABLE, 0, &scalable) != FcResultMatch || scalable == FcFalse ||
        fc.patternGetInteger (pattern, FC_INDEX, 0, &index) != FcResultMatch || index < 0 || index > 0xffff)
        return std::nullopt;

    FontCatalogue::Face face{firstString (fc, pattern, FC_FAMILY), firstString (fc, pattern, FC_STYLE),
                             juce::File (firstString (fc, pattern, FC_FILE)), index};

    if (face.family.isEmpty() || !face.file.hasFileExtension (fontFileTypes))
        return std::nullopt;

    return face;
}
} // namespace

FontCatalogue FontCatalogue::fromSystem()
{
    std::vector<Face> installed;
    const FontConfigLibrary fc;
    auto* config = fc.isLoaded() ? fc.initLoadConfigAndFonts() : nullptr;

    if (config == nullptr)
        return FontCatalogue (std::move (installed));

    auto* everything = fc.patternCreate();
    auto* wanted = fc.objectSetBuild (FC_FAMILY, FC_STYLE, FC_FILE, FC_INDEX, FC_SCALABLE, nullptr);

    if (auto* list = fc.fontList (config, everything, wanted))
    {
        for (int i = 0; i < list->nfont; ++i)
            // Only the default sans-serif font is ever chosen from the catalogue: a desktop with
            // hundreds of fonts need not keep the names of all of them.
            if (auto face = faceOf (fc, list->fonts[i]); face.has_value() && isSansSerifFamily (face->family))
                installed.push_back (std::move (*face));

        fc.fontSetDestroy (list);
    }

    fc.objectSetDestroy (wanted);
    fc.patternDestroy (everything);
    // The configuration maps the cache files; nothing of it is needed once the list is read.
    fc.configDestroy (config);
    return FontCatalogue (inFolders (std::move (installed), frameworkFontFolders()));
}

juce::Array<juce::File> FontCatalogue::frameworkFontFolders()
{
    juce::Array<juce::File> folders;

    for (const auto* path : {"/etc/fonts/fonts.conf", "/usr/share/fonts/fonts.conf",
                             "/usr/local/etc/fonts/fonts.conf", "/usr/share/defaults/fonts/fonts.conf"})
    {
        const auto configuration = juce::parseXML (juce::File (path));

        if (configuration == nullptr)
            continue;

        for (auto* folder : configuration->getChildWithTagNameIterator ("dir"))
        {
            auto name = folder->getAllSubText().trim();

            if (name.isEmpty())
                continue;

            if (folder->getStringAttribute ("prefix") == "xdg")
            {
                auto dataHome = juce::SystemStats::getEnvironmentVariable ("XDG_DATA_HOME", {});

                if (dataHome.trimStart().isEmpty())
                    dataHome = "~/.local/share";

                name = juce::File (dataHome).getChildFile (name).getFullPathName();
            }

            folders.addIfNotAlreadyThere (juce::File::getCurrentWorkingDirectory().getChildFile (name));
        }

        break;
    }

    if (folders.isEmpty())
        folders.add (juce::File ("/usr/X11R6/lib/X11/fonts"));

    return folders;
}

std::vector<FontCatalogue::Face> FontCatalogue::inFolders (std::vector<Face> faces,
                                                           const juce::Array<juce::File>& folders)
{
    const auto outside = [&folders] (const Face& face)
    {
        for (const auto& folder : folders)
            if (face.file.isAChildOf (folder))
                return false;

        return true;
    };

    faces.erase (std::remove_if (faces.begin(), faces.end(), outside), faces.end());
    return faces;
}

FontCatalogue::FontCatalogue (std::vector<Face> installed) : faces (std::move (installed))
{
    std::sort (faces.begin(), faces.end(), comesBefore);
}

std::optional<FontCatalogue::Face> FontCatalogue::defaultSansSerif (const juce::String& style) const
{
    const auto family = defaultSansSerifFamily();
    const auto styles = stylesOf (family);
    const auto shownStyle = styles.contains (style) ? style : styles[0];

    for (const auto& candidate : {shownStyle, juce::String ("Regular"), juce::String()})
        if (const auto* face = find (family, candidate))
            return *face;

    return std::nullopt;
}

juce::String FontCatalogue::defaultSansSerifFamily() const
{
    juce::StringArray families;

    for (const auto& face : faces)
        if (isSansSerifFamily (face.family))
            families.addIfNotAlreadyThere (face.family);

    // An exact name first, then a family that starts with one, then one that contains one.
    for (const auto* choice : sansSerifPreference)
        if (families.contains (choice, true))
            return choice;

    for (const auto* choice : sansSerifPreference)
        for (const auto& family : families)
            if (family.startsWithIgnoreCase (choice))
                return family;

    for (const auto* choice : sansSerifPreference)
        for (const auto& family : families)
            if (family.containsIgnoreCase (choice))
                return family;

    return families[0];
}

juce::StringArray FontCatalogue::stylesOf (const juce::String& family) const
{
    juce::StringArray styles;

    for (const auto& face : faces)
        if (face.family == family)
            styles.addIfNotAlreadyThere (face.style);

    return styles;
}

const FontCatalogue::Face* FontCatalogue::find (const juce::String& family, const juce::String& style) const
{
    for (const auto& face : faces)
        if (face.family == family && (style.isEmpty() || face.style.equalsIgnoreCase (style)))
            return &face;

    return nullptr;
}
