#pragma once

#include "editor/EditorComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Where a document window's keys go: F10 and Alt with a menu's letter open its menus, the
    commands have their further keys, and the keyboard lands on the page shown as soon as the
    window holds it.

    Not owned: the window and its editor, which outlive this.
*/
class DocumentKeys
{
public:
    DocumentKeys (juce::DocumentWindow& window, EditorComponent& editor);

    /** Opens a menu for F10 or Alt and a letter; false for any other key. */
    bool keyPressed (const juce::KeyPress& key);

    /** The window took the keyboard focus itself. */
    void focusGained();

    /** The keys a document command has beside the one its description gives. */
    static void addDefaultKeys (juce::CommandID commandID, juce::ApplicationCommandInfo& result);

private:
    juce::DocumentWindow& window;
    EditorComponent& editor;

    JUCE_DECLARE_NON_COPYABLE (DocumentKeys)
};
