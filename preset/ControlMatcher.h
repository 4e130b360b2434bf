#pragma once

#include "preset/MonitoredMessage.h"
#include "preset/PresetCodec.h"

#include <vector>

/** Which controls of a preset send a given message: the same kind on the control's channel, with
    the note, controller or program number the control's current mode gives it (the keybed plays
    any note, the pitch wheel and an "Aftertouch" knob have no number).
*/
class ControlMatcher
{
public:
    /** Reads what each control sends once, so that a flood of messages is matched quickly. */
    explicit ControlMatcher (const PresetCodec::Image& image);

    /** The names of every control that sends such a message ("Keybed", "Knob 1", "Pad 5"), in the
        preset's order: keybed, wheels, sustain, knobs, pads, switches. */
    juce::StringArray controlsSending (const MonitoredMessage& message) const;

private:
    /** One kind of message one control sends; `number` none for any number. */
    struct Signature
    {
        int control = 0;
        MonitoredMessage::Kind kind;
        int channel = 0;
        int number = MonitoredMessage::none;
    };

    juce::StringArray names;
    std::vector<Signature> signatures;
};
