#pragma once

#include "ArtworkStyle.h"

// The pictures put together the way the editor places them, so the artwork can be judged without
// running the editor.

// The editor window as it would look with the given tab lit; the parts all in one state.
juce::Image drawPreview (State partState, int litTab);

// The About window with its version label and two notice lines written over the picture.
juce::Image drawAboutPreview();

// The Device Setup window with its frames, captions, a few rows and its buttons' places.
juce::Image drawDeviceSetupPreview();
