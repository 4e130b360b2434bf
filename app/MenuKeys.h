#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The keys that reach the menu bar without the mouse: F10 opens the first menu, Alt with the
    first letter of a menu's name opens that menu. The letters follow the names, so a menu added
    to the bar gets its key with it. */
class MenuKeys
{
public:
    /** The index of the menu the key opens among the bar's menu names, or -1 for any other key. */
    static int menuToOpen (const juce::KeyPress& key, const juce::StringArray& menuNames);

    /** Opens that menu of the bar with its first item that can run selected; false when the key
        opens none (the bar may be null). */
    static bool openMenuFor (const juce::KeyPress& key, juce::MenuBarComponent* bar);

private:
    static void selectFirstItem (juce::Component& menu, const juce::PopupMenu& items);
    static int itemIndexAt (juce::Component& menu, juce::Point<int> position);
    static int selectableItemsBefore (const juce::PopupMenu& items, int index);
};
