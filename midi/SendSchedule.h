#pragma once

#include <optional>

/** When the newest preset goes out while edits keep coming: once they have paused for a moment,
    and never later than a bound after the first change not yet sent, so that a held key is heard
    while it repeats. A dump already on the wire is never overtaken: the next waits for its wire
    time, since a controller whose input buffer overflows drops what comes too fast. Only whether
    something is waiting is kept, never a queue, so a stale preset is never sent.

    Times are milliseconds on any clock the caller keeps; nothing here reads a clock or waits.
*/
class SendSchedule
{
public:
    /** How long changes must pause before the preset goes out. */
    static constexpr double quietMs = 150.0;
    /** The longest a change waits while changes keep coming. */
    static constexpr double longestWaitMs = 300.0;
    /** A byte's time on a 5-pin MIDI cable: ten bits at 31,250 baud. */
    static constexpr double wireMsPerByte = 0.32;

    /** A committed change at `now`. */
    void changed (double now) noexcept;
    /** The preset went out at `now` as a message of `bytes` bytes; whatever was waiting is in it. */
    void sent (double now, int bytes) noexcept;
    /** Forgets a change waiting, as when sending was turned off; a dump's wire time still counts. */
    void clear() noexcept;

    bool isWaiting() const noexcept { return firstUnsent.has_value(); }
    /** When the waiting change should go out; empty when nothing waits. */
    std::optional<double> dueAt() const noexcept;
    bool isDue (double now) const noexcept;
    /** When the last dump has left the wire. */
    double wireFreeAt() const noexcept { return wireFree; }

private:
    std::optional<double> firstUnsent;
    double lastChange = 0.0;
    double wireFree = 0.0;
};
