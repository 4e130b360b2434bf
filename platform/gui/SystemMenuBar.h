#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The desktop's own menu bar at the top of the screen, where the desktop has one (macOS): the
    program's menus go there, beside an application menu of its own that holds "About" and
    "Quit". Elsewhere every document window carries the menus.
*/
class SystemMenuBar final
{
public:
    SystemMenuBar() = delete;

    /** Whether the desktop has such a menu bar. */
    static bool exists();

    /** Shows the model's menus there, and `applicationItems` at the top of the application menu,
        until hide(); false where there is no such menu bar. */
    static bool show (juce::MenuBarModel* model, const juce::PopupMenu* applicationItems);

    /** Takes the menus away again. */
    static void hide();
};
