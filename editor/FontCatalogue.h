#pragma once

#include <juce_graphics/juce_graphics.h>

#include <optional>
#include <vector>

/** The scalable fonts installed on this desktop, and the face the framework would pick from them
    for its default sans-serif font in a given style.

    The framework learns what is installed by opening every font file in the folders the system's
    fonts.conf names, which costs tens of milliseconds before the first text can be drawn. The
    system's font configuration keeps that list in a cache that reads in a few; kept to the same
    folders and chosen from by the same rules, it gives the same face. (A font the configuration
    rejects is one the framework would still see; such a setting is rare and only changes which
    installed font the text uses.) */
class FontCatalogue
{
public:
    struct Face
    {
        juce::String family;
        juce::String style;
        juce::File file;
        int index = 0;
    };

    /** The installed sans-serif fonts as the system's font configuration lists them, less those
        outside the folders the framework reads fonts from; empty if the list cannot be read. */
    static FontCatalogue fromSystem();

    /** The folders the framework reads fonts from: those the top level of the system's fonts.conf
        names, as the framework reads that file. */
    static juce::Array<juce::File> frameworkFontFolders();

    /** The faces whose files lie inside one of the folders, at any depth. */
    static std::vector<Face> inFolders (std::vector<Face> faces, const juce::Array<juce::File>& folders);

    /** A catalogue of the given faces, in any order. */
    explicit FontCatalogue (std::vector<Face> installed);

    /** The face the framework uses for its default sans-serif font in a style ("Regular" for a
        plain font, "Bold", ...): the first family of its preference list that is installed, in that
        style if the family has it and in the family's most regular style otherwise. Nothing if no
        sans-serif font is installed. */
    std::optional<Face> defaultSansSerif (const juce::String& style) const;

    const std::vector<Face>& getFaces() const noexcept { return faces; }

private:
    juce::String defaultSansSerifFamily() const;
    juce::StringArray stylesOf (const juce::String& family) const;
    const Face* find (const juce::String& family, const juce::String& style) const;

    std::vector<Face> faces;
};
