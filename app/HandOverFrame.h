#pragma once

#include <juce_core/juce_core.h>

/** One launch's message to the running editor, as it travels over the hand-over socket:
    a 4-byte marker, the 4-byte length of the text (both little-endian) and the text in UTF-8.

    The running editor reads each connection into a frame of its own, so a stray writer can spoil
    only its own connection. A frame that cannot be a launch of this editor (wrong marker, a length
    over the cap, text that is not UTF-8) is rejected as soon as that shows, without waiting for
    the rest.
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

    static constexpr juce::uint32 marker = 0x4d61726c; // "Marl"
    static constexpr int headerBytes = 8;
    /** A command line is one path; anything longer is not a launch of this editor. */
    static constexpr int maxTextBytes = 64 * 1024;
    /** The running editor's answer once the command line has been taken. */
    static constexpr juce::uint8 confirmation = 0x06;

    static juce::MemoryBlock encode (const juce::String& commandLine);

    State append (const void* data, size_t numBytes);
    State getState() const noexcept { return state; }
    /** The command line; empty until the frame is complete. */
    juce::String getText() const;

private:
    State check();

    juce::MemoryBlock received;
    State state = State::incomplete;
};
