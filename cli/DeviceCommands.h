#pragma once

class CommandInvocation;

/** The "marlo-preset" commands that reach the controller: "ports", "send", "get" and "compare".
    They move presets through the transfer the editor uses, and its alerts go to the error stream
    as the editor's dialogs would show them.
*/
class DeviceCommands
{
public:
    static int ports (CommandInvocation& invocation);
    static int send (CommandInvocation& invocation);
    static int get (CommandInvocation& invocation);
    static int compare (CommandInvocation& invocation);
};
