#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The commands of the application and of its documents. (A struct around the enumerators keeps
    names such as open and quit out of the global scope, where the C library has its own.) */
struct CommandIDs
{
    enum : juce::CommandID
    {
        newWindow = 0x200010,
        open = 0x200020,
        closeWindow = 0x200030,
        saveDocument = 0x200040,
        saveDocumentAs = 0x200050,
        exportSysEx = 0x200058,
        quit = 0x200060,
        getPreset = 0x200070,
        sendPreset = 0x200080,
        compareWithController = 0x200088,
        about = 0x200090,
        deviceSetup = 0x200310,
        findController = 0x200320,
        sendChangesToController = 0x200340,
        verifyAfterSending = 0x200350,
        /** A test aid, offered only with the simulated set-up. */
        plugSimulatedMarlo = 0x200330,
        minimize = 0x200410,
        bringAllToFront = 0x200420,
        midiMonitor = 0x200430,
        library = 0x200440,
        openUserGuide = 0x200510,
        undo = 0x200210,
        redo = 0x200220,
        // The pages in tab order: showFirstPage + pageStride * index.
        showFirstPage = 0x200610,
        previousBank = 0x200710,
        nextBank = 0x200720,
        zoomIn = 0x200810,
        zoomOut = 0x200820,
        actualSize = 0x200830
    };

    static constexpr int pageCount = 7;
    static constexpr juce::CommandID pageStride = 0x10;
    static constexpr juce::CommandID showPage (int index) { return showFirstPage + pageStride * index; }
};

/** One row of the command table: the name shown and the letter of the default key (0 for none). */
struct CommandDescription
{
    juce::CommandID id;
    /** UTF-8. */
    const char* name;
    char keyLetter;
};

/** The row of a command; null for an id that is not in the table. */
const CommandDescription* findCommandDescription (juce::CommandID id);

/** Fills the shared parts of a command's info: name, category, and the command-letter key.
    Leaves the info untouched for an unknown id. */
void describeCommand (juce::CommandID id, juce::ApplicationCommandInfo& info);
