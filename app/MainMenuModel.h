#pragma once

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>
#include <vector>

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

    /** A document as the Window menu lists it: its name, whether its window is the active one
        (ticked), and what choosing it does. */
    struct OpenDocument
    {
        juce::String name;
        bool active = false;
        std::function<void()> bringToFront;
    };

    /** Whether Options offers to unplug and plug in the simulated Marlo (a test aid). */
    bool offersSimulatedDevice = false;

    /** The documents open now, listed at the end of the Window menu; unset lists none. */
    std::function<std::vector<OpenDocument>()> openDocuments;

    /** The extra items of the macOS application menu. */
    static juce::PopupMenu createAppleMenuItems (juce::ApplicationCommandManager* commandManager);

private:
    juce::PopupMenu createHardwareMenu() const;
    void addOpenDocuments (juce::PopupMenu& menu) const;

    juce::ApplicationCommandManager* commandManager;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainMenuModel)
};
