#include "app/MenuKeys.h"

int MenuKeys::menuToOpen (const juce::KeyPress& key, const juce::StringArray& menuNames)
{
    const auto modifiers = key.getModifiers();
    const auto others = juce::ModifierKeys::ctrlModifier | juce::ModifierKeys::commandModifier |
                        juce::ModifierKeys::shiftModifier;

    if (key.getKeyCode() == juce::KeyPress::F10Key)
        return !modifiers.isAnyModifierKeyDown() && !menuNames.isEmpty() ? 0 : -1;

    if (!modifiers.isAltDown() || modifiers.testFlags (others))
        return -1;

    // The window system reports a letter's key code in either case.
    const auto letter =
        juce::CharacterFunctions::toUpperCase (static_cast<juce::juce_wchar> (key.getKeyCode()));
    if (!juce::CharacterFunctions::isLetter (letter))
        return -1;

    for (int index = 0; index < menuNames.size(); ++index)
        if (juce::CharacterFunctions::toUpperCase (menuNames[index][0]) == letter)
            return index;

    return -1;
}

bool MenuKeys::openMenuFor (const juce::KeyPress& key, juce::MenuBarComponent* bar)
{
    if (bar == nullptr || bar->getModel() == nullptr)
        return false;

    const auto index = menuToOpen (key, bar->getModel()->getMenuBarNames());
    if (index < 0)
        return false;

    const auto* modalBefore = juce::Component::getCurrentlyModalComponent();
    bar->showMenu (index);

    // As on other desktops, a menu opened from the keyboard has its first item selected, so that
    // Return runs it. The bar gives the menu it opens no options, so the menu's own Down selects
    // the first item that can run (and leaves the selection to the keys until the pointer moves).
    if (auto* menu = juce::Component::getCurrentlyModalComponent(); menu != nullptr && menu != modalBefore)
        menu->keyPressed (juce::KeyPress (juce::KeyPress::downKey));

    return true;
}
