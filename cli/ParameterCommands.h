#pragma once

class CommandInvocation;

/** The "marlo-preset" commands that name parameters: "names" lists them, "set" changes them in a
    preset file as the editor would.
*/
class ParameterCommands
{
public:
    static int names (CommandInvocation& invocation);
    static int set (CommandInvocation& invocation);
};
