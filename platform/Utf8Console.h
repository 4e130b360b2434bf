#pragma once

/** While one lives, the console that a command-line program prints to shows the program's UTF-8
    text as such. Windows' console shows the bytes in a code page of its own otherwise, and keeps
    whichever it is given after the program ends, so the one it had comes back. A terminal on Linux
    takes UTF-8 as it comes, and what goes to a file or a pipe is the same bytes on either system.
*/
class Utf8Console final
{
public:
    Utf8Console();
    ~Utf8Console();

private:
    unsigned previousCodePage = 0;

    Utf8Console (const Utf8Console&) = delete;
    Utf8Console& operator= (const Utf8Console&) = delete;
};
