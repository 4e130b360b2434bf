#pragma once

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

/** Who this process is, as the system names it: what tells its files and folders from those of
    the user's other programs and of other users.
*/
class ThisProcess final
{
public:
    ThisProcess() = delete;

    /** The process's number, unique among the processes running now. */
    static juce::int64 id();

    /** The user the process runs as, as text that fits in a file name and never changes for that
        user (on Linux the user's number, on Windows the security identifier; not the login
        name, which may be renamed). */
    static juce::String user();

    /** The arguments the process was started with, its own name left out, each as the bytes it
        was given (on Windows, where a name is always text, as UTF-8). Ready once the framework's
        application has started. */
    static std::vector<std::string> arguments();
};
