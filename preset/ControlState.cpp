#include "preset/ControlState.h"

#include "preset/ParameterIndex.h"

ControlState::ControlState (const PresetCodec::Image& presetImage, ControlPosition control)
    : image (presetImage), position (control)
{
}

std::optional<ControlState> ControlState::find (const PresetCodec::Image& image, const juce::String& name)
{
    for (const auto& control : allControls())
        if (controlTitle (control.type, control.controlNumber) == name)
            return ControlState (image, control);
    return std::nullopt;
}

std::vector<ControlState> ControlState::all (const PresetCodec::Image& image)
{
    std::vector<ControlState> controls;
    for (const auto& control : allControls())
        controls.emplace_back (image, control);
    return controls;
}

juce::String ControlState::getName() const
{
    return controlTitle (position.type, position.controlNumber);
}

juce::String ControlState::getModeName() const
{
    const auto& schema = controlSchema (position.type);
    const auto modeByte = schema.getModeByte();
    const auto* mode = schema.findMode (modeByte < 0 ? 0 : valueOf (ControlSchema::modeLabel));
    return mode != nullptr ? mode->name : juce::String();
}

int ControlState::valueOf (const juce::String& label) const
{
    const auto* entry = ParameterIndex::find (getName() + " " + label);
    return entry != nullptr && juce::isPositiveAndBelow (entry->offset, image.size()) ? image[entry->offset]
                                                                                      : 0;
}

int ControlState::getChannel() const
{
    return valueOf ("MIDI Channel") + 1;
}
