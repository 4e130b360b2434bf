#pragma once

#include <juce_core/juce_core.h>

/** One launch's message to the running editor, as it travels over the hand-over socket: a 4-byte
    marker, the 8-byte number of the launch's request (see HandOverRequest), the 4-byte length of
    the text (all little-endian) and the text in UTF-8.

    The running editor reads each connection into a frame of its own, so a stray writer can spoil
    only its own connection. A frame that cannot be a launch of this editor (wrong marker, a length
    over the cap, text that is not exactly UTF-8) is rejected as soon as that shows, without
    waiting for the rest.
*/
class HandOverFrame
{
public:
    enum class State
    {
        incomplete, ///< more bytes are needed
        complete,   ///< the text is there; any further byte makes the frame malformed
        malformed   ///< not a launch's message: drop the connection
    };

    // "Mar2" on the wire. Launches of earlier builds send another marker and know no request
    // file; they are refused, and such a launch opens its file itself, as nobody else will.
    static constexpr juce::uint32 marker = 0x3272614d;
    static constexpr int headerBytes = 16;
    /** A command line is one path; anything longer is not a launch of this editor. */
    static constexpr int maxTextBytes = 64 * 1024;
    /** The running editor's answer once it has taken the request. */
    static constexpr juce::uint8 confirmation = 0x06;

    static juce::MemoryBlock encode (juce::uint64 requestId, const juce::String& commandLine);

    State append (const void* data, size_t numBytes);
    State getState() const noexcept { return state; }
    /** The command line; empty until the frame is complete. */
    juce::String getText() const;
    /** The launch's request; 0 until the frame is complete. */
    juce::uint64 getRequestId() const;

private:
    State check();

    juce::MemoryBlock received;
    State state = State::incomplete;
};
