#pragma once

/** Ctrl+C as a request to finish: while one of these lives, SIGINT only sets a flag that the
    program polls, so that it can end on its own terms: with its output written, or with nothing
    written and a status that says it was interrupted. The previous handling comes back when the
    outermost one goes. Ctrl+C that whoever started the program ignores stays ignored. They nest, so the
   program can install one at its first moment and the command again where it waits, without losing a request
   made in between.
*/
class InterruptRequest final
{
public:
    InterruptRequest();
    ~InterruptRequest();

    /** Whether Ctrl+C came since the outermost request was installed. */
    static bool wasRequested() noexcept;

private:
    InterruptRequest (const InterruptRequest&) = delete;
    InterruptRequest& operator= (const InterruptRequest&) = delete;
};
