#include "preset/ControlMatcher.h"

#include "preset/ControlState.h"

#include <vector>

namespace
{
using Kind = MonitoredMessage::Kind;

/** One kind of message a control sends: its number is the parameter `numberLabel` holds, the
    fixed `number`, or any number when both are absent. */
struct Sent
{
    Kind kind;
    const char* numberLabel = nullptr;
    int number = MonitoredMessage::none;
};

struct ModeSends
{
    ControlType type;
    const char* mode;
    std::vector<Sent> sends;
};

const std::vector<ModeSends>& modeSends()
{
    // A bank select comes before each program change, on controllers 0 and 32.
    const std::vector<Sent> programChange{{Kind::controlChange, nullptr, 0},
                                          {Kind::controlChange, nullptr, 32},
                                          {Kind::programChange, "Program"}};
    static const std::vector<ModeSends> table{
        {ControlType::Keybed, "Default", {{Kind::noteOn}, {Kind::noteOff}}},
        {ControlType::PitchWheel, "Default", {{Kind::pitchBend}}},
        {ControlType::ModWheel, "Default", {{Kind::controlChange, "CC"}}},
        {ControlType::Sustain, "Default", {{Kind::controlChange, "CC"}}},
        {ControlType::Knob, "CC", {{Kind::controlChange, "CC"}}},
        {ControlType::Knob, "Aftertouch", {{Kind::aftertouch}}},
        {ControlType::Pad, "Note", {{Kind::noteOn, "Note"}, {Kind::noteOff, "Note"}}},
        {ControlType::Pad, "CC Toggle", {{Kind::controlChange, "CC"}}},
        {ControlType::Pad, "CC Momentary", {{Kind::controlChange, "CC"}}},
        {ControlType::Pad, "Program Change", programChange},
        {ControlType::Switch, "CC Toggle", {{Kind::controlChange, "CC"}}},
        {ControlType::Switch, "CC Momentary", {{Kind::controlChange, "CC"}}},
        {ControlType::Switch, "Program Change", programChange},
    };
    return table;
}

const std::vector<Sent>& sendsOf (const ControlState& control)
{
    static const std::vector<Sent> nothing;
    const auto mode = control.getModeName();
    for (const auto& entry : modeSends())
        if (entry.type == control.getType() && mode == entry.mode)
            return entry.sends;
    return nothing;
}

} // namespace

ControlMatcher::ControlMatcher (const PresetCodec::Image& image)
{
    for (const auto& control : ControlState::all (image))
    {
        names.add (control.getName());
        for (const auto& sent : sendsOf (control))
            signatures.push_back (
                {names.size() - 1, sent.kind, control.getChannel(),
                 sent.numberLabel != nullptr ? control.valueOf (sent.numberLabel) : sent.number});
    }
}

juce::StringArray ControlMatcher::controlsSending (const MonitoredMessage& message) const
{
    juce::StringArray matching;
    for (const auto& signature : signatures)
        if (signature.kind == message.kind && signature.channel == message.channel &&
            (signature.number == MonitoredMessage::none || signature.number == message.number))
            matching.addIfNotAlreadyThere (names[signature.control]);
    return matching;
}
