#pragma once

#include <juce_core/juce_core.h>

/** One MIDI message in the words a monitor shows it in: what kind it is, its channel, its number
    and its value, or for a system-exclusive message its length and whether it is one of the
    controller's own preset messages.

    Decoded from the first bytes of a message and its whole length, which is all a monitor keeps of
    a long system-exclusive message.
*/
struct MonitoredMessage
{
    enum class Kind
    {
        noteOn,
        noteOff,
        controlChange,
        programChange,
        pitchBend,
        aftertouch,     ///< channel pressure
        polyAftertouch, ///< a single key's pressure
        sysex,
        presetDump,
        presetRequest,
        presetReply,
        clock,
        activeSensing,
        system, ///< any other system message
        invalid ///< a running-status byte or nothing at all
    };

    /** A value a kind does not have (a program change's value, a sysex's channel). */
    static constexpr int none = -1;

    Kind kind = Kind::invalid;
    /** 1 to 16, or none. */
    int channel = none;
    /** The note, controller or program; none for pitch bend, aftertouch and system messages. */
    int number = none;
    /** Velocity, controller value, pressure, or pitch bend from -8192 to 8191. */
    int value = none;
    /** Bytes of the whole message, F0 and F7 included for system exclusive. */
    int length = 0;

    /** `size` bytes are known of a message `length` bytes long. */
    static MonitoredMessage decode (const juce::uint8* data, int size, int length);

    /** "note on", "cc", "program", "pitch bend", "aftertouch", "sysex", "preset dump", ... */
    static juce::String kindName (Kind kind);

    bool isSystemExclusive() const noexcept;
    /** The two messages a monitor hides on request: they come many times a second from a device at rest. */
    bool isClockOrActiveSensing() const noexcept;

    /** Whether the number is a note (note on and off, a key's pressure). */
    bool hasNote() const noexcept;

    /** One line: kind, channel, number, the note's name and value in columns, or a sysex's length. */
    juce::String toText() const;
    /** The names of toText's columns, each over its own column. */
    static juce::String heading();
};
