#pragma once

/** Ctrl+C as a request to finish: while one of these lives, SIGINT only sets a flag that the
    program polls, so that it can end on its own terms with its output written. The previous
    handler comes back when it goes.
*/
class InterruptRequest final
{
public:
    InterruptRequest();
    ~InterruptRequest();

    bool wasRequested() const noexcept;

private:
    void (*previous) (int) = nullptr;

    InterruptRequest (const InterruptRequest&) = delete;
    InterruptRequest& operator= (const InterruptRequest&) = delete;
};
