#include "preset/ControlSchema.h"

#include <array>

namespace
{
// The kinds of spec the tables use; everything not named otherwise is 0 to 127 from 0.
constexpr ParameterSpec plain{0, 127, 0, 0, 0};
constexpr ParameterSpec channel{1, 16, 1, 1, 0};
// "Max", "Pressed" and "Toggle On" start fully on.
constexpr ParameterSpec fullyOn{0, 127, 127, 0, 0};
constexpr ParameterSpec modeSelector{0, 127, 0, 0, 1};
constexpr ParameterSpec curve{1, 8, 1, 1, 0};
// Shown as a signed shift around the stored middle value 12.
constexpr ParameterSpec transpose{-12, 12, 0, -12, 0};
constexpr ParameterSpec octave{0, 6, 0, 0, 0};

using Parameter = ControlSchema::Parameter;
using Mode = ControlSchema::Mode;

ControlSchema keybed()
{
    return {ControlType::Keybed,
            {{"MIDI Channel", 2, channel},
             {"Transpose", 0, transpose},
             {"Octave", 1, octave},
             {"Curve", 3, curve}},
            {{"Default", {"MIDI Channel", "Transpose", "Octave", "Curve"}}}};
}

ControlSchema pitchWheel()
{
    return {ControlType::PitchWheel, {{"MIDI Channel", 0, channel}}, {{"Default", {"MIDI Channel"}}}};
}

ControlSchema modWheel()
{
    // The channel is registered last but shown first.
    return {ControlType::ModWheel,
            {{"CC", 1, plain}, {"Min", 2, plain}, {"Max", 3, fullyOn}, {"MIDI Channel", 0, channel}},
            {{"Default", {"MIDI Channel", "CC", "Min", "Max"}}}};
}

ControlSchema sustain()
{
    // "Released" comes before "Pressed" in the bytes, the reverse of pads and switches.
    return {ControlType::Sustain,
            {{"CC", 0, plain}, {"Pressed", 2, fullyOn}, {"Released", 1, plain}, {"MIDI Channel", 3, channel}},
            {{"Default", {"MIDI Channel", "CC", "Pressed", "Released"}}}};
}

ControlSchema knob()
{
    return {ControlType::Knob,
            {{"Mode", 0, modeSelector},
             {"MIDI Channel", 4, channel},
             {"CC", 1, plain},
             {"Min", 2, plain},
             {"Max", 3, fullyOn}},
            {{"CC", {"Mode", "MIDI Channel", "CC", "Min", "Max"}},
             {"Aftertouch", {"Mode", "MIDI Channel", "Min", "Max"}}}};
}

ControlSchema pad()
{
    // In the order of PadParameter.
    return {ControlType::Pad,
            {{"Mode", 0, modeSelector},
             {"MIDI Channel", 4, channel},
             {"Note", 1, plain},
             {"CC", 1, plain},
             {"Bank MSB", 3, plain},
             {"Curve", 3, curve},
             {"Pressed", 2, fullyOn},
             {"Toggle On", 2, fullyOn},
             {"Bank LSB", 2, plain},
             {"Fixed", 2, plain},
             {"Released", 3, plain},
             {"Toggle Off", 3, plain},
             {"Program", 1, plain}},
            {{"Note", {"Mode", "MIDI Channel", "Note", "Fixed", "Curve"}},
             {"CC Toggle", {"Mode", "MIDI Channel", "CC", "Toggle On", "Toggle Off"}},
             {"CC Momentary", {"Mode", "MIDI Channel", "CC", "Pressed", "Released"}},
             {"Program Change", {"Mode", "MIDI Channel", "Bank LSB", "Bank MSB", "Program"}}}};
}

ControlSchema switchControl()
{
    // In the order of SwitchParameter.
    return {ControlType::Switch,
            {{"Mode", 0, modeSelector},
             {"MIDI Channel", 4, channel},
             {"CC", 1, plain},
             {"Pressed", 2, fullyOn},
             {"Released", 3, plain},
             {"Toggle On", 2, fullyOn},
             {"Toggle Off", 3, plain},
             {"Bank MSB", 3, plain},
             {"Bank LSB", 2, plain},
             {"Program", 1, plain}},
            {{"CC Toggle", {"Mode", "MIDI Channel", "CC", "Toggle On", "Toggle Off"}},
             {"CC Momentary", {"Mode", "MIDI Channel", "CC", "Pressed", "Released"}},
             {"Program Change", {"Mode", "MIDI Channel", "Bank LSB", "Bank MSB", "Program"}}}};
}
} // namespace

const juce::String ControlSchema::modeLabel ("Mode");

ControlSchema::ControlSchema (ControlType controlType, std::vector<Parameter> controlParameters,
                              std::vector<Mode> controlModes)
    : type (controlType), parameters (std::move (controlParameters)), modes (std::move (controlModes))
{
}

juce::StringArray ControlSchema::getModeNames() const
{
    juce::StringArray names;
    for (const auto& mode : modes)
        names.add (mode.name);
    return names;
}

const ControlSchema::Parameter* ControlSchema::findParameter (const juce::String& label) const
{
    for (const auto& parameter : parameters)
        if (parameter.label == label)
            return &parameter;
    return nullptr;
}

const ControlSchema::Mode* ControlSchema::findMode (int modeValue) const
{
    return juce::isPositiveAndBelow (modeValue, static_cast<int> (modes.size()))
               ? &modes[static_cast<size_t> (modeValue)]
               : nullptr;
}

int ControlSchema::indexOfMode (const juce::String& modeName) const
{
    return getModeNames().indexOf (modeName);
}

bool ControlSchema::hasModeSelector() const
{
    return findParameter (modeLabel) != nullptr;
}

int ControlSchema::getModeByte() const
{
    const auto* mode = findParameter (modeLabel);
    return mode != nullptr ? mode->byte : -1;
}

ControlSchema::StoredRange ControlSchema::getStoredRange (const Parameter& parameter) const
{
    if (parameter.spec.widgetKind == modeSelector.widgetKind)
        return {0, static_cast<int> (modes.size()) - 1};

    return {parameter.spec.minimum - parameter.spec.displayOffset,
            parameter.spec.maximum - parameter.spec.displayOffset};
}

juce::StringArray ControlSchema::getLabelsAt (int byte) const
{
    juce::StringArray labels;
    for (const auto& parameter : parameters)
        if (parameter.byte == byte)
            labels.add (parameter.label);
    return labels;
}

juce::String ControlSchema::getLabelShownAt (int modeValue, int byte) const
{
    const auto* mode = findMode (modeValue);
    if (mode == nullptr)
        return {};

    for (const auto& label : mode->labels)
        if (const auto* parameter = findParameter (label); parameter != nullptr && parameter->byte == byte)
            return label;
    return {};
}

const ControlSchema& controlSchema (ControlType type)
{
    static const std::array<ControlSchema, 7> schemas{keybed(), pitchWheel(), modWheel(),     sustain(),
                                                      knob(),   pad(),        switchControl()};
    return schemas[static_cast<size_t> (type)];
}
