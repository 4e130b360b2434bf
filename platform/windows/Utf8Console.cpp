#include "platform/Utf8Console.h"

#include "WindowsSystem.h"

Utf8Console::Utf8Console() : previousCodePage (GetConsoleOutputCP())
{
    // No console (output to a file or a pipe, or a window program): nothing to set.
    if (previousCodePage != 0 && previousCodePage != CP_UTF8 && !SetConsoleOutputCP (CP_UTF8))
        previousCodePage = 0;
}

Utf8Console::~Utf8Console()
{
    if (previousCodePage != 0 && previousCodePage != CP_UTF8)
        SetConsoleOutputCP (previousCodePage);
}
