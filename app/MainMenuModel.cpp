#include "app/MainMenuModel.h"

#include "app/CommandIDs.h"
#include "platform/gui/SystemMenuBar.h"

#include <array>
#include <vector>

namespace
{
constexpr juce::CommandID separator = 0;
constexpr juce::CommandID hardwareMenu = -1;
constexpr juce::CommandID openDocumentItems = -2;
constexpr juce::CommandID simulatedDeviceItems = -3;

// The open documents' items carry ids of their own, apart from every command's.
constexpr int firstDocumentItemId = 0x300001;

/** A menu as data: its name and its items in order. */
struct MenuDescription
{
    const char* name;
    std::vector<juce::CommandID> items;
};

const std::vector<MenuDescription>& menuTable()
{
    static const std::vector<MenuDescription> table = []
    {
        std::vector<MenuDescription> menus{
            {"File",
             {CommandIDs::newWindow, CommandIDs::open, CommandIDs::closeWindow, CommandIDs::saveDocument,
              CommandIDs::saveDocumentAs, CommandIDs::exportSysEx, hardwareMenu}},
            {"Edit", {CommandIDs::undo, CommandIDs::redo}},
            {"View", {CommandIDs::zoomIn, CommandIDs::zoomOut, CommandIDs::actualSize}},
            {"Options",
             {CommandIDs::deviceSetup, CommandIDs::findController, CommandIDs::sendChangesToController,
              CommandIDs::verifyAfterSending, simulatedDeviceItems}},
            {"Window",
             {CommandIDs::minimize, CommandIDs::bringAllToFront, CommandIDs::midiMonitor, CommandIDs::library,
              separator, openDocumentItems}},
            {"Help", {CommandIDs::openUserGuide}},
        };

        // Without an application menu, "Quit" and "About" go where desktop users look for them.
        if (!SystemMenuBar::exists())
        {
            menus.front().items.insert (menus.front().items.end(), {separator, CommandIDs::quit});
            menus.back().items.insert (menus.back().items.end(), {separator, CommandIDs::about});
        }

        return menus;
    }();

    return table;
}

constexpr std::array<juce::CommandID, 3> hardwareItems{CommandIDs::getPreset, CommandIDs::sendPreset,
                                                       CommandIDs::compareWithController};
} // namespace

MainMenuModel::MainMenuModel (juce::ApplicationCommandManager* commands) : commandManager (commands)
{
    setApplicationCommandManagerToWatch (commandManager);
}

MainMenuModel::~MainMenuModel()
{
    setApplicationCommandManagerToWatch (nullptr);
}

juce::StringArray MainMenuModel::getMenuBarNames()
{
    juce::StringArray names;

    for (const auto& menu : menuTable())
        names.add (menu.name);

    return names;
}

juce::PopupMenu MainMenuModel::getMenuForIndex (int, const juce::String& menuName)
{
    juce::PopupMenu menu;

    for (const auto& description : menuTable())
    {
        if (menuName != description.name)
            continue;

        for (auto id : description.items)
        {
            if (id == separator)
                menu.addSeparator();
            else if (id == hardwareMenu)
                menu.addSubMenu ("Hardware", createHardwareMenu(), true);
            else if (id == openDocumentItems)
                addOpenDocuments (menu);
            else if (id == simulatedDeviceItems)
            {
                if (offersSimulatedDevice)
                    menu.addCommandItem (commandManager, CommandIDs::plugSimulatedMarlo);
            }
            else
                menu.addCommandItem (commandManager, id);
        }
    }

    return menu;
}

juce::PopupMenu MainMenuModel::createHardwareMenu() const
{
    juce::PopupMenu hardware;

    for (auto id : hardwareItems)
        hardware.addCommandItem (commandManager, id);

    return hardware;
}

void MainMenuModel::addOpenDocuments (juce::PopupMenu& menu) const
{
    if (openDocuments == nullptr)
        return;

    auto id = firstDocumentItemId;
    for (const auto& document : openDocuments())
    {
        juce::PopupMenu::Item item (document.name);
        item.itemID = id++;
        item.isTicked = document.active;
        item.action = document.bringToFront;
        menu.addItem (std::move (item));
    }
}

void MainMenuModel::menuItemSelected (int, int)
{
    // Command items are carried out by the command manager, a document's item by its action.
}

juce::PopupMenu MainMenuModel::createAppleMenuItems (juce::ApplicationCommandManager* manager)
{
    juce::PopupMenu menu;
    menu.addCommandItem (manager, CommandIDs::about);
    return menu;
}
