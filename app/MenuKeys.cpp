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

    if (auto* menu = juce::Component::getCurrentlyModalComponent(); menu != nullptr && menu != modalBefore)
        selectFirstItem (*menu,
                         bar->getModel()->getMenuForIndex (index, bar->getModel()->getMenuBarNames()[index]));

    return true;
}

void MenuKeys::selectFirstItem (juce::Component& menu, const juce::PopupMenu& items)
{
    // The menu takes the pointer's first look as a move from the screen's corner and gives the
    // selection to the item under a pointer that rests where the menu opened, after the keys had
    // chosen the first. So it is shown where the pointer rests before the keys choose: a resting
    // pointer then selects nothing, and only a real move hands the selection back to the mouse.
    auto pointer = juce::Desktop::getInstance().getMainMouseSource();
    const auto local = menu.getLocalPoint (nullptr, pointer.getScreenPosition());
    menu.mouseMove (juce::MouseEvent (pointer, local, juce::ModifierKeys::currentModifiers,
                                      juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f, &menu,
                                      &menu, juce::Time::getCurrentTime(), local,
                                      juce::Time::getCurrentTime(), 0, false));

    // From the item under the pointer, if any, Up goes back past each item that can be chosen
    // before it and round to the last; Down then goes round to the first.
    const auto presses = selectableItemsBefore (items, itemIndexAt (menu, local.roundToInt())) + 1;
    for (int press = 0; press < presses; ++press)
        menu.keyPressed (juce::KeyPress (juce::KeyPress::upKey));
    menu.keyPressed (juce::KeyPress (juce::KeyPress::downKey));
}

int MenuKeys::itemIndexAt (juce::Component& menu, juce::Point<int> position)
{
    if (!menu.getLocalBounds().contains (position))
        return 0;

    // Each of the menu's children is one of its items, in order.
    for (auto* child = menu.getComponentAt (position); child != nullptr; child = child->getParentComponent())
        if (child->getParentComponent() == &menu)
            return menu.getIndexOfChildComponent (child);

    return 0;
}

int MenuKeys::selectableItemsBefore (const juce::PopupMenu& items, int index)
{
    // What the menu's own keys stop at: an item that runs, or one with a sub-menu.
    int count = 0;
    int position = 0;
    for (juce::PopupMenu::MenuItemIterator iterator (items); iterator.next() && position < index; ++position)
    {
        const auto& item = iterator.getItem();
        const bool runs =
            item.itemID != 0 && !item.isSectionHeader &&
            (item.customComponent == nullptr || item.customComponent->isTriggeredAutomatically());
        const bool opens = item.subMenu != nullptr && item.subMenu->getNumItems() > 0;
        if (item.isEnabled && (runs || opens))
            ++count;
    }
    return count;
}
