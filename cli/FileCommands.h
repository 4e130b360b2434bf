#pragma once

class CommandInvocation;

/** The "marlo-preset" commands that work on preset files alone: "new", "show", "validate", "diff"
    and "convert". They read a file as the editor opens it and write it as the editor saves it.
*/
class FileCommands
{
public:
    static int newFile (CommandInvocation& invocation);
    static int show (CommandInvocation& invocation);
    static int validate (CommandInvocation& invocation);
    static int diff (CommandInvocation& invocation);
    static int convert (CommandInvocation& invocation);
};
