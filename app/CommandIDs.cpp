#include "app/CommandIDs.h"

#include <array>

namespace
{
// "New Window " keeps its trailing space: the menu shows the name exactly as registered.
constexpr std::array<CommandDescription, 35> commandTable{{
    {CommandIDs::newWindow, "New Window ", 'n'},
    {CommandIDs::open, "Open", 'o'},
    {CommandIDs::closeWindow, "Close Window", 'w'},
    {CommandIDs::saveDocument, "Save", 's'},
    {CommandIDs::saveDocumentAs, "Save As", 0},
    {CommandIDs::exportSysEx, "Export SysEx\u2026", 0},
    {CommandIDs::quit, "Quit", 'q'},
    {CommandIDs::getPreset, "Get Preset", 0},
    {CommandIDs::sendPreset, "Send Preset", 0},
    {CommandIDs::compareWithController, "Compare with Controller", 0},
    {CommandIDs::about, "About", 0},
    {CommandIDs::deviceSetup, "Device Setup", 0},
    {CommandIDs::findController, "Find Controller", 0},
    {CommandIDs::sendChangesToController, "Send Changes to Controller", 0},
    {CommandIDs::verifyAfterSending, "Verify after Sending", 0},
    // Named by what it does now: the application renames it "Plug In Simulated Marlo" while unplugged.
    {CommandIDs::plugSimulatedMarlo, "Unplug Simulated Marlo", 0},
    {CommandIDs::minimize, "Minimize", 'm'},
    {CommandIDs::bringAllToFront, "Bring All to Front", 0},
    {CommandIDs::midiMonitor, "MIDI Monitor", 0},
    {CommandIDs::library, "Library", 'l'},
    {CommandIDs::openUserGuide, "Open User Guide", 'h'},
    // Redo's keys and the bank arrows' keys are not plain command letters; the document adds them.
    {CommandIDs::undo, "Undo", 'z'},
    {CommandIDs::redo, "Redo", 0},
    {CommandIDs::showPage (0), "Main Page", '1'},
    {CommandIDs::showPage (1), "Knobs Page", '2'},
    {CommandIDs::showPage (2), "Switches Page", '3'},
    {CommandIDs::showPage (3), "Pads Page", '4'},
    {CommandIDs::showPage (4), "Keybed Page", '5'},
    {CommandIDs::showPage (5), "Wheels Page", '6'},
    {CommandIDs::showPage (6), "Sustain Page", '7'},
    {CommandIDs::previousBank, "Previous Bank", 0},
    {CommandIDs::nextBank, "Next Bank", 0},
    // Zoom In's second key and the number pad's keys are added by the document.
    {CommandIDs::zoomIn, "Zoom In", '='},
    {CommandIDs::zoomOut, "Zoom Out", '-'},
    {CommandIDs::actualSize, "Actual Size", '0'},
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

    info.setInfo (juce::String (juce::CharPointer_UTF8 (row->name)), {}, "General", 0);
    info.setActive (true);

    if (row->keyLetter != 0)
        info.addDefaultKeypress (row->keyLetter, juce::ModifierKeys::commandModifier);
}
