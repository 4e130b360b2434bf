#pragma once

#include "preset/PresetCodec.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <set>
#include <vector>

/** What the controller sends when one of its controls is played, by what the preset says that
    control sends in its current mode: a knob or wheel turned to a number, a pad or switch pressed
    or released, the pitch wheel bent.

    Keeps which "CC Toggle" controls are on, as the hardware does, so that presses alternate.
*/
class ControlPlayer
{
public:
    /** The messages for playing `control` ("Knob 1", "Pad 5", "Pitch Wheel") with `action`: a
        number for knobs and wheels, "press" or "release" for pads, switches and sustain. Fails,
        sending nothing, for an unknown control or an action it does not take. A release that
        sends nothing (a toggle's, a program change's) gives no message. */
    juce::Result play (const PresetCodec::Image& image, const juce::String& control,
                       const juce::String& action, std::vector<juce::MidiMessage>& messages);

    /** Splits "CONTROL=ACTION" and plays it. */
    juce::Result play (const PresetCodec::Image& image, const juce::String& assignment,
                       std::vector<juce::MidiMessage>& messages);

    /** The controls that can be played in the modes the preset gives them, in the preset's order;
        the keybed, which has no gesture to play here, is never among them. */
    static juce::StringArray playableControls (const PresetCodec::Image& image);

private:
    std::set<juce::String> toggledOn;
};
