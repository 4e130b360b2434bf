#pragma once

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>

/** Loads an embedded picture by its file name without ".png" (e.g. "tab_main_normal"); an empty
    image if there is none. A picture stored without transparency is an RGB image, else ARGB. The
    size is known at once; the picture is decoded only when something
    first reads or draws its pixels, and every caller shares the one decoded copy. */
juce::Image loadArtwork (const juce::String& stem);

/** Decodes an embedded picture now, for one use, without sharing it: for a picture needed only to
    make another one, whose pixels should not stay in memory. */
juce::Image decodeArtwork (const juce::String& stem);

/** An image of width x height whose pixels `draw` paints the first time they are read or drawn,
    starting from transparent black. Every caller asking for the same key shares that one image. An
    opaque picture made as RGB is later drawn by a plain copy. */
juce::Image renderArtwork (const juce::String& key, juce::Image::PixelFormat format, int width, int height,
                           std::function<void (juce::Graphics&)> draw);

/** The scale of the display the editor is shown on (1 on an ordinary one): pictures made at their
    shown size are made at this many pixels per unit, so they stay sharp. A window drawn at a zoom
    of its own asks for its pictures again through rescaleArtwork. */
float artworkScale();

/** The stem of the picture to draw at a scale: above 1, the picture drawn at twice the size where
    the artwork has one ("<stem>_2x"), else the stem itself. */
juce::String artworkStemAt (const juce::String& stem, float scale);

/** loadArtwork of the picture to draw at a scale. Its size is that picture's own: layout takes
    sizes from loadArtwork (stem). */
juce::Image loadArtworkAt (const juce::String& stem, float scale);

/** Gives a component its pictures: `apply` runs now at artworkScale() and again each time
    rescaleArtwork reaches the component. A component keeps the last one given. */
void keepArtwork (juce::Component& component, std::function<void (float scale)> apply);

/** Gives a component and everything inside it their pictures again at a scale (the display's
    scale times the window's zoom), so that they are drawn at that many pixels per unit. */
void rescaleArtwork (juce::Component& root, float scale);

/** Gives an image button the "_normal", "_hover" and "_pressed" pictures of a stem, at opacity 1
    with no overlay colour. At a scale above 1 the button draws the 2x pictures into the bounds the
    pictures of the stem gave it. */
void setButtonArtwork (juce::ImageButton& button, const juce::String& stem, bool resizeButtonToImage,
                       bool rescaleImages, float hitTestAlphaThreshold = 0.0f);

/** For an image button that lies on a part of an opaque backdrop (given by `backdrop` at a scale
    when a picture is made, shared under backdropKey) and
    draws its pictures into its bounds, scaled with proportions kept or not: replaces its pictures by ones
    already at its size with that part of the backdrop behind them, and makes it opaque. It keeps its
    bounds and shows the same pixels, but painting it is a plain copy and paints nothing behind it. */
void flattenButtonArtwork (juce::ImageButton& button, const juce::String& stem,
                           std::function<juce::Image (float scale)> backdrop, const juce::String& backdropKey,
                           float hitTestAlphaThreshold = 0.0f);
