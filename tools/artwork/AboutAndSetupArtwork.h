#pragma once

#include "ArtworkStyle.h"

// The pictures of the smaller windows: the About picture, and Device Setup's background and the
// frame of its two device lists.

juce::Image drawAbout();
juce::Image drawDeviceSetupBackground();
juce::Image drawDeviceListFrame();
