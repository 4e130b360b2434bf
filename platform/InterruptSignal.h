#pragma once

/** Ctrl+C in the terminal (SIGINT; on Windows the console's Ctrl+C and Ctrl+Break events),
    caught: while caught, it only sets a flag that the program looks at
    where it waits, so that it can end on its own terms. Beside TerminationSignals, which is about
    the signals that end the editor.
*/
class InterruptSignal final
{
public:
    InterruptSignal() = delete;

    /** Clears the flag and catches Ctrl+C from now on, unless whoever started the program chose
        to ignore it (a script's background job, say): then it stays ignored. */
    static void install();

    /** Gives Ctrl+C back to the handling it had before install(). */
    static void restore();

    /** Whether Ctrl+C came since install(). */
    static bool arrived() noexcept;
};
