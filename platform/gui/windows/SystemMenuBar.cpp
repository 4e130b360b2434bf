#include "platform/gui/SystemMenuBar.h"

// Windows has no menu bar of the desktop's own: each window carries its menus.

bool SystemMenuBar::exists()
{
    return false;
}

bool SystemMenuBar::show (juce::MenuBarModel*, const juce::PopupMenu*)
{
    return false;
}

void SystemMenuBar::hide() {}
