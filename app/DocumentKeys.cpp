#include "app/DocumentKeys.h"

#include "app/CommandIDs.h"
#include "app/MenuKeys.h"

DocumentKeys::DocumentKeys (juce::DocumentWindow& documentWindow, EditorComponent& documentEditor)
    : window (documentWindow), editor (documentEditor)
{
}

bool DocumentKeys::keyPressed (const juce::KeyPress& key)
{
    return MenuKeys::openMenuFor (key, dynamic_cast<juce::MenuBarComponent*> (window.getMenuBarComponent()));
}

void DocumentKeys::focusGained()
{
    // The window itself takes the focus when it is new, or raised with nothing inside that had
    // it; the keys belong on the page from the first moment, as after a click. Only while the
    // window system still gives this window the keys: the news can arrive after a chooser or
    // another program took them, and moving the focus inside would take them back.
    auto* peer = window.getPeer();

    if (peer != nullptr && peer->isFocused())
        editor.focusShownPage();
}

void DocumentKeys::addDefaultKeys (juce::CommandID commandID, juce::ApplicationCommandInfo& result)
{
    const auto command = juce::ModifierKeys::commandModifier;
    switch (commandID)
    {
        case CommandIDs::redo:
            result.addDefaultKeypress ('z', command | juce::ModifierKeys::shiftModifier);
            result.addDefaultKeypress ('y', command);
            break;
        case CommandIDs::previousBank:
            result.addDefaultKeypress (juce::KeyPress::leftKey, command);
            break;
        case CommandIDs::nextBank:
            result.addDefaultKeypress (juce::KeyPress::rightKey, command);
            break;
        case CommandIDs::zoomIn:
            // Ctrl++ is typed with Shift on most layouts, and reads as either.
            result.addDefaultKeypress ('+', command);
            result.addDefaultKeypress ('+', command | juce::ModifierKeys::shiftModifier);
            result.addDefaultKeypress (juce::KeyPress::numberPadAdd, command);
            break;
        case CommandIDs::zoomOut:
            result.addDefaultKeypress (juce::KeyPress::numberPadSubtract, command);
            break;
        default:
            break;
    }
}
