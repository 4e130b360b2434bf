#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Loads an embedded picture by its file name without ".png" (e.g. "tab_main_normal"); an empty
    image if there is none. Pictures are cached, so repeated loads are cheap. */
juce::Image loadArtwork (const juce::String& stem);

/** Gives an image button the "_normal", "_hover" and "_pressed" pictures of a stem, at opacity 1
    with no overlay colour. */
void setButtonArtwork (juce::ImageButton& button, const juce::String& stem, bool resizeButtonToImage,
                       bool rescaleImages, float hitTestAlphaThreshold = 0.0f);
