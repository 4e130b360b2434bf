#pragma once

#include <juce_core/juce_core.h>
#include <optional>

/** The seven kinds of control, in the order of their sections in the preset image. */
enum class ControlType
{
    Keybed = 0,
    PitchWheel = 1,
    ModWheel = 2,
    Sustain = 3,
    Knob = 4,
    Pad = 5,
    Switch = 6
};

/** The parameters of a pad; the ids are shared with the pad's reference data. */
enum PadParameter
{
    padMode = 0,
    padMidiChannel = 1,
    padNote = 2,
    padCC = 3,
    padBankMSB = 4,
    padCurve = 5,
    padPressed = 6,
    padToggleOn = 7,
    padBankLSB = 8,
    padFixed = 9,
    padReleased = 10,
    padToggleOff = 11,
    padProgram = 12
};

/** The parameters of a switch; the ids are shared with the switch's reference data. */
enum SwitchParameter
{
    switchMode = 0,
    switchMidiChannel = 1,
    switchCC = 2,
    switchPressed = 3,
    switchReleased = 4,
    switchToggleOn = 5,
    switchToggleOff = 6,
    switchBankMSB = 7,
    switchBankLSB = 8,
    switchProgram = 9
};

/** The bytes each control of a type takes. */
int bytesPerControl (ControlType type);
/** Offset of the first byte of control n (counted from 1) of a type; its section's controls come
    after every earlier section's. */
int controlOffset (ControlType type, int controlNumber);
/** The section title of control n: "Keybed", "Pitch Wheel", ..., "Knob 3", "Pad 8". */
juce::String controlTitle (ControlType type, int controlNumber);

/** Where a byte of the image belongs: its control and its position inside that control's bytes. */
struct ControlPosition
{
    ControlType type = ControlType::Keybed;
    /** Counted from 1. */
    int controlNumber = 1;
    int byte = 0;
};

/** Every control in section order, each named by its first byte (byte 0). */
juce::Array<ControlPosition> allControls();

/** The control a byte of the image belongs to; nothing for an offset outside the image. */
std::optional<ControlPosition> controlAt (int offset);

/** Length of the preset image, 93, formed in 8-bit arithmetic as the message header needs it. */
juce::uint8 presetDataLength();

/** The 93 bytes a new document starts from (the factory dump's payload, octave lowered by one). */
juce::Array<juce::uint8> factoryPresetData();
