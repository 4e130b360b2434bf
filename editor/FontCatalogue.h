#pragma once

#include <juce_graphics/juce_graphics.h>

#include <optional>
#include <vector>

/** The scalable fonts installed on this desktop, and the face the framework would pick from them
    for its default sans-serif font in a given style.

    The framework learns what is installed by opening every font file, which costs tens of
    milliseconds before the first text can be drawn. The system's font configuration keeps that list
    in a cache that reads in a few; the same choosing rules applied to it give the same face. */
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

    /** The installed fonts as the system's font configuration lists them; empty if it cannot. */
    static FontCatalogue fromSystem();

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
