#pragma once

class CommandInvocation;

/** "marlo-preset watch": sends a preset file to the controller each time it changes on disk, so
    that edits made by "set", a script or a text editor are heard at once. */
class WatchCommand
{
public:
    static constexpr const char* synopsis =
        "watch FILE --out NAME [--in NAME] [--verify] [--simulated-device]";
    static constexpr const char* description =
        "Sends the preset in FILE to the controller on output NAME now and each time the file holds\n"
        "another preset, as the editor's Send Changes to Controller does: once changes pause for 150 ms,\n"
        "and at most 300 ms after the first change not yet sent, never faster than the cable carries the\n"
        "dumps. Prints \"sent FILE at hh:mm:ss\" per send. A file caught half-written or missing while it\n"
        "is replaced is waited for, and said once on stderr. --verify (with --in) asks the last send of\n"
        "each burst back and prints \"verified at hh:mm:ss\", or \"not verified ...\" with why.\n"
        "Ends on Ctrl+C with exit 0; exit 1 when the output goes away.";

    static int run (CommandInvocation& invocation);
};
