#pragma once

#include "ArtworkStyle.h"

// A document window's own pictures: the background, the tabs, the transfer buttons of the main page
// and the arrows that step through the banks.

// The background is stretched to 750 rows when shown; drawing in those shown coordinates keeps the
// logo's proportions and lines up the shadow and the band with what sits on top of them.
juce::Image drawBackground();

struct TabArt
{
    const char* name;
    int width;
    const char* label;
};

extern const TabArt tabs[7];

juce::Image drawTab (const TabArt& tab, State state);

struct TransferArt
{
    const char* name;
    const char* label;
    bool intoEditor; // the arrow points down for what comes into the editor, up for what leaves it
};

extern const TransferArt transfers[4];

juce::Image drawTransferButton (const TransferArt& button, State state);

juce::Image drawArrow (bool right, State state);
