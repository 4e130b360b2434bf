#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The menu bar: every item is a command of the command manager, shown with its name and key
    and enabled only when some target can perform it. */
class MainMenuModel final : public juce::MenuBarModel
{
public:
    /** The command manager is not owned; it outlives the model. */
    explicit MainMenuModel (juce::ApplicationCommandManager* commandManager);
    ~MainMenuModel() override;

    juce::StringArray getMenuBarNames() override;
    juce::PopupMenu getMenuForIndex (int topLevelMenuIndex, const juce::String& menuName) override;
    void menuItemSelected (int menuItemID, int topLevelMenuIndex) override;

    /** The extra items of the macOS application menu. */
    static juce::PopupMenu createAppleMenuItems (juce::ApplicationCommandManager* commandManager);

private:
    juce::PopupMenu createHardwareMenu() const;

    juce::ApplicationCommandManager* commandManager;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainMenuModel)
};
