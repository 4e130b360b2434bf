#pragma once

#include "preset/ControlSchema.h"
#include "preset/PresetCodec.h"

#include <optional>

/** One control of a preset as the hardware would act on it: its name, the mode its "Mode" byte
    selects, and the stored value of each parameter that mode uses. What a control sends is read
    through this, so that the monitor and the simulated controller agree on it. It reads the image
    it was made from, which must outlive it.
*/
class ControlState
{
public:
    ControlState (const PresetCodec::Image& image, ControlPosition control);

    /** The control titled `name` ("Knob 1", "Mod Wheel"), exactly as the editor names it. */
    static std::optional<ControlState> find (const PresetCodec::Image& image, const juce::String& name);

    /** Every control of the preset, in section order: keybed, wheels, sustain, knobs, pads, switches. */
    static std::vector<ControlState> all (const PresetCodec::Image& image);

    ControlType getType() const noexcept { return position.type; }
    juce::String getName() const;
    /** The name of the current mode: "Default" for a control without a selector. */
    juce::String getModeName() const;
    /** The stored value of a parameter by its label; 0 for a label the type does not have. */
    int valueOf (const juce::String& label) const;
    /** The MIDI channel, 1 to 16. */
    int getChannel() const;

private:
    const PresetCodec::Image& image;
    ControlPosition position;
};
