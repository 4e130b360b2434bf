#pragma once

#include <functional>
#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_core/juce_core.h>

/** Turns bytes from a file or from the controller into a preset image and back, and checks every
    byte against the range of the parameter that holds it.

    Pure: no widgets, no windows, no devices. The editor, the command-line tool and the fuzzers all
    decide through it, so they cannot disagree about which presets are valid. A refusal says why in
    words: the byte, the parameters on it, the value and the range it may take.
*/
class PresetCodec
{
public:
    using Image = juce::Array<juce::uint8>;

    /** Checks a 93-byte image. A byte that several parameters share is checked against the one its
        control's mode shows there (a pad's byte +3 is a curve of 0 to 7 only in mode "Note"). */
    static juce::Result checkImage (const Image& image);

    /** Reads the content of a "*.marlo" file: exactly the 103-byte preset dump. */
    static juce::Result decodeFile (const void* data, size_t size, Image& image);
    /** Whether `data` is a preset file as the editor saves it: exactly 103 bytes that begin with
        F0 and the dump header. Such a file is read by decodeFile; any other through SysExReader. */
    static bool isPresetFile (const void* data, size_t size);

    /** Checks the 93 preset bytes at `bytes` and takes them. A refusal names the byte as `where`
        does (e.g. "preset byte 4 (file byte 13)"), then its parameters and range. */
    static juce::Result decodeImage (const juce::uint8* bytes, Image& image,
                                     const std::function<juce::String (int offset)>& where);

    /** The 103 bytes of a "*.marlo" file, which are also the dump sent to the controller. */
    static juce::MemoryBlock encodeFile (const Image& image);

    /** Whether a message starts with the controller's reply header; anything else is ignored
        while a get waits. */
    static bool isReply (const juce::MidiMessage& message);
    /** Reads the image a reply carries: the 93 bytes after its header; bytes beyond them are
        ignored and nothing beyond the message is read. */
    static juce::Result decodeReply (const juce::MidiMessage& message, Image& image);

    /** The names of the parameters that share one byte, e.g. "Pad 1 Note, CC, Program". */
    static juce::String describeByte (int offset);

    /** Inclusive range a byte may hold in this image, and the parameter whose range it is. */
    struct Allowed
    {
        int minimum = 0;
        int maximum = 127;
        juce::String parameterName;
        /** Why this parameter's range applies when the byte has several, e.g. "Pad 1 Mode is Note". */
        juce::String becauseOf;
    };
    static Allowed allowedAt (const Image& image, int offset);
};
