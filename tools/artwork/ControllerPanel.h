#pragma once

#include "ArtworkStyle.h"

// The controller's top panel. The parts are drawn over it by the editor; underneath each one it
// shows a recess, so a part's transparent corners show the body.

inline const juce::Rectangle<int> controllerSize (1151, 206);

juce::Image drawController();

// The controller as the editor shows it: the panel with every part in one state on top.
void drawAssembledController (juce::Graphics& g, juce::Point<int> origin, State state);
