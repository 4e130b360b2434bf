#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// What every picture shares: the states a part or button is drawn in, the colours, the type, the
// maker's logo, brushed metal, and drawing in a picture's own units at the pixel scale of the set
// being drawn.

enum class State
{
    normal,
    hover,
    pressed
};

inline const juce::Colour accent (0xff117fc6);
inline const juce::Colour ink (0xff22262b);
inline const juce::Colour body (0xff26292e);
inline const juce::Colour keyWell (0xff0d0e10);

inline const State allStates[] = {State::normal, State::hover, State::pressed};

juce::Font dejaVu (float height, bool bold = false);

void drawSpacedText (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area, float height,
                     float kerning, juce::Justification justification);

// The maker's emblem: a ring holding three bars, like keys seen end-on or a level meter. One shape
// filled even-odd, so that the icon's scalable picture can carry it as it is.
juce::Path emblemPath (juce::Point<float> centre, float radius);

void drawEmblem (juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour);

// Emblem and "ORVANE" wordmark, fitted to the height of the area, starting at its left; gives where
// the word ends.
float drawLogo (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour emblem, juce::Colour word);

// Horizontal hairlines of slightly varying grey: reads as brushed metal and compresses well.
void fillBrushed (juce::Graphics& g, juce::Rectangle<int> area, juce::Colour base, float depth, int seed);

// Pixels per unit of the pictures being drawn: 1, then 2 for the set the editor draws on a scaled
// display or in a zoomed window. Every picture is drawn in its own units, whatever the scale.
void setPixelScale (float scale);

juce::Image newImage (int width, int height);

// Makes a context on a new image draw in the picture's units.
void inUnits (juce::Graphics& g);

// An image's area in the units it was drawn in.
juce::Rectangle<int> unitBounds (const juce::Image& image);

// Where the editor draws a picture scaled into smaller bounds: centred, proportions kept.
juce::Rectangle<float> placeInside (juce::Rectangle<int> bounds, int width, int height);
