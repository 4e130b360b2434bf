#include "app/CommandIDs.h"

#include <array>

namespace
{
// "New Window " keeps its trailing space: the menu shows the name exactly as registered.
constexpr std::array<CommandDescription, 13> commandTable{{
    {CommandIDs::newWindow, "New Window ", 'n'},
    {CommandIDs::open, "Open", 'o'},
    {CommandIDs::closeWindow, "Close Window", 'w'},
    {CommandIDs::saveDocument, "Save", 's'},
    {CommandIDs::saveDocumentAs, "Save As", 0},
    {CommandIDs::quit, "Quit", 'q'},
    {CommandIDs::getPreset, "Get Preset", 0},
    {CommandIDs::sendPreset, "Send Preset", 0},
    {CommandIDs::about, "About", 0},
    {CommandIDs::deviceSetup, "Device Setup", 0},
    {CommandIDs::minimize, "Minimize", 'm'},
    {CommandIDs::bringAllToFront, "Bring All to Front", 0},
    {CommandIDs::openUserGuide, "Open User Guide", 'h'},
}};
} // namespace

const CommandDescription* findCommandDescription (juce::CommandID id)
{
    for (const auto& row : commandTable)
        if (row.id == id)
            return &row;

    return nullptr;
}

void describeCommand (juce::CommandID id, juce::ApplicationCommandInfo& info)
{
    const auto* row = findCommandDescription (id);

    if (row == nullptr)
        return;

    info.setInfo (row->name, {}, "General", 0);
    info.setActive (true);

    if (row->keyLetter != 0)
        info.addDefaultKeypress (row->keyLetter, juce::ModifierKeys::commandModifier);
}
