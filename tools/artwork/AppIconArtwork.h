#pragma once

#include "ArtworkStyle.h"

// The application icon: drawn as pictures at the sizes the desktop asks for, and written as a
// scalable SVG of the same shapes.

inline constexpr float iconDesignSize = 256.0f;

juce::Image drawAppIcon (int size);

juce::String drawAppIconSvg();
