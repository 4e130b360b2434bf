#pragma once

#include "ArtworkStyle.h"

#include <functional>

// The controller's parts, each a picture the editor lays over the panel in every state. Five of
// them are shown at 52 %, so strokes are at least two pixels.

struct PartArt
{
    const char* name;
    int width, height;
    juce::Rectangle<int> bounds; // final bounds in the controller picture
    bool recessed;               // the panel shows a recess under it
    std::function<void (juce::Graphics&, juce::Rectangle<float>, State)> draw;
};

extern const PartArt parts[6];

juce::Image drawPart (const PartArt& part, State state);
