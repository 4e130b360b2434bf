#pragma once

class CommandInvocation;

/** The "marlo-preset" commands that work on a library, a folder of preset files: "search",
    "import", "export" and "duplicates". They read the folder as the editor's library does and
    write only new files, never over one. */
class LibraryCommands
{
public:
    static constexpr const char* searchSynopsis = "search DIR [WORD|NAME=VALUE]... [--json]";
    static constexpr const char* searchDescription =
        "Prints the preset files in the library DIR (and its subfolders, hidden ones and links aside)\n"
        "that match every term, one a line. A WORD matches names, ignoring case; NAME=VALUE matches a\n"
        "parameter as the editor shows it while its control's mode shows it (\"Pad 1 Note=36\",\n"
        "\"Knob 1 CC=74\"); \"*\" stands for a control's number (\"Pad * MIDI Channel=10\"). Each argument\n"
        "is one term. --json prints one array of objects (file, name, group, modified, sends, sameAs).\n"
        "A file that cannot be read is named on stderr. Exit 0: one or more match; 1: none.";
    static constexpr const char* importSynopsis = "import DIR FILE...";
    static constexpr const char* importDescription =
        "Brings the presets in each FILE (\".marlo\", \".syx\" with one or many dumps, or a folder, whose\n"
        "subfolders come along) into the library DIR, made if missing. Each becomes \"<name>.marlo\" after\n"
        "its file, \"<name> 2.marlo\" and on when the name is taken; a preset the library already holds\n"
        "is skipped, and no file is written over. Prints \"Imported N; M already in the library\", and on\n"
        "stderr each file not imported and why (archives such as \".zip\" are not read).\n"
        "Exit 0: every file read; 2: one or more could not be.";
    static constexpr const char* exportSynopsis = "export OUT.syx FILE...";
    static constexpr const char* exportDescription =
        "Writes the presets of the FILEs (every dump of a \".syx\") into the new file OUT.syx, one dump\n"
        "each, in the order given, as other librarians read them. OUT may also be an existing folder:\n"
        "the presets are then copied into it as \".marlo\" files. An existing OUT.syx is left as it is.";
    static constexpr const char* duplicatesSynopsis = "duplicates DIR";
    static constexpr const char* duplicatesDescription =
        "Lists the presets in the library DIR that hold the same preset, a group of files per block,\n"
        "blocks apart by an empty line. Deletes nothing. Exit 0: none; 1: some.";

    static int search (CommandInvocation& invocation);
    static int importFiles (CommandInvocation& invocation);
    static int exportFiles (CommandInvocation& invocation);
    static int duplicates (CommandInvocation& invocation);
};
