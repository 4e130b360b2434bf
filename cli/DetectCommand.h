#pragma once

class CommandInvocation;

/** "marlo-preset detect": finds the controllers among the MIDI devices as the editor's Find
    Controller does, and prints each input and output that pair up. */
class DetectCommand
{
public:
    static constexpr const char* synopsis = "detect [--wait MS] [--json] [--simulated-device]";
    static constexpr const char* description =
        "Sends the controller's preset request to each MIDI output in turn and listens on every input\n"
        "for MS milliseconds (300 by default) after each. Prints \"in: <input>, out: <output>\" for each\n"
        "pair over which a controller answered (--json: one array of objects). An input that brings back\n"
        "the request itself is a loop and is never listed. Exit 0: one or more found; 1: none answered.";

    static int run (CommandInvocation& invocation);
};
