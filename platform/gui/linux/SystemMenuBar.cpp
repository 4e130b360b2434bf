#include "platform/gui/SystemMenuBar.h"

// The X11 desktops have no menu bar of their own that the framework could fill.

bool SystemMenuBar::exists()
{
    return false;
}

bool SystemMenuBar::show (juce::MenuBarModel*, const juce::PopupMenu*)
{
    return false;
}

void SystemMenuBar::hide() {}
