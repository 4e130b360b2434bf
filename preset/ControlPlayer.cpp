#include "preset/ControlPlayer.h"

#include "preset/ControlState.h"
#include "preset/ShownValue.h"

namespace
{
enum class Gesture
{
    turn,  ///< a number kept within "Min" and "Max", sent as a controller
    press, ///< a number kept within "Min" and "Max", sent as channel pressure
    bend,  ///< -8192 to 8191
    note,  ///< press or release
    momentary,
    toggle,
    program
};

struct Playable
{
    ControlType type;
    const char* mode;
    Gesture gesture;
};

constexpr Playable playables[]{
    {ControlType::ModWheel, "Default", Gesture::turn},
    {ControlType::PitchWheel, "Default", Gesture::bend},
    {ControlType::Sustain, "Default", Gesture::momentary},
    {ControlType::Knob, "CC", Gesture::turn},
    {ControlType::Knob, "Aftertouch", Gesture::press},
    {ControlType::Pad, "Note", Gesture::note},
    {ControlType::Pad, "CC Toggle", Gesture::toggle},
    {ControlType::Pad, "CC Momentary", Gesture::momentary},
    {ControlType::Pad, "Program Change", Gesture::program},
    {ControlType::Switch, "CC Toggle", Gesture::toggle},
    {ControlType::Switch, "CC Momentary", Gesture::momentary},
    {ControlType::Switch, "Program Change", Gesture::program},
};

const Playable* playableOf (const ControlState& control)
{
    const auto mode = control.getModeName();
    for (const auto& playable : playables)
        if (playable.type == control.getType() && mode == playable.mode)
            return &playable;
    return nullptr;
}

bool takesNumber (Gesture gesture)
{
    return gesture == Gesture::turn || gesture == Gesture::press || gesture == Gesture::bend;
}

/** Within "Min" and "Max", whichever of the two is the lower. */
int keptWithinMinMax (const ControlState& control, int number)
{
    const auto low = control.valueOf ("Min");
    const auto high = control.valueOf ("Max");
    return juce::jlimit (juce::jmin (low, high), juce::jmax (low, high), number);
}

juce::uint8 byte (int value)
{
    return static_cast<juce::uint8> (juce::jlimit (0, 127, value));
}

juce::Result checkAction (const juce::String& name, Gesture gesture, const juce::String& action)
{
    const auto numeric = takesNumber (gesture);
    if (numeric && !ShownValue::isNumber (action))
        return juce::Result::fail (name + " is played with a number, not \"" + action + "\"");
    if (!numeric && action != "press" && action != "release")
        return juce::Result::fail (name + " is played with \"press\" or \"release\", not \"" + action + "\"");
    // Longer numbers would wrap in an int and be played as some other value; none is in range.
    if (numeric && action.trimCharactersAtStart ("-+").length() > 6)
        return juce::Result::fail (name + " takes no number as large as " + action);
    const auto number = action.getIntValue();
    if (gesture == Gesture::bend && (number < -8192 || number > 8191))
        return juce::Result::fail (name + " bends from -8192 to 8191, not " + action);
    return juce::Result::ok();
}

/** The messages of one checked action; `toggledOn` holds the names of the toggles that are on. */
void perform (const ControlState& control, Gesture gesture, const juce::String& action,
              std::set<juce::String>& toggledOn, std::vector<juce::MidiMessage>& messages)
{
    const auto channel = control.getChannel();
    const auto number = action.getIntValue();
    const auto pressed = action == "press";
    const auto cc = [&] (int controller, int value)
    { messages.push_back (juce::MidiMessage::controllerEvent (channel, controller, byte (value))); };

    switch (gesture)
    {
        case Gesture::turn:
            cc (control.valueOf ("CC"), keptWithinMinMax (control, number));
            break;
        case Gesture::press:
            messages.push_back (
                juce::MidiMessage::channelPressureChange (channel, keptWithinMinMax (control, number)));
            break;
        case Gesture::bend:
            messages.push_back (juce::MidiMessage::pitchWheel (channel, number + 8192));
            break;
        case Gesture::note:
        {
            const auto note = control.valueOf ("Note");
            const auto fixed = control.valueOf ("Fixed");
            messages.push_back (
                pressed ? juce::MidiMessage::noteOn (channel, note, byte (fixed != 0 ? fixed : 100))
                        : juce::MidiMessage::noteOff (channel, note));
            break;
        }
        case Gesture::momentary:
            cc (control.valueOf ("CC"), control.valueOf (pressed ? "Pressed" : "Released"));
            break;
        case Gesture::toggle:
            if (pressed)
            {
                // A press turns a toggle that is off on, and one that is on off.
                const auto on = toggledOn.insert (control.getName()).second;
                if (!on)
                    toggledOn.erase (control.getName());
                cc (control.valueOf ("CC"), control.valueOf (on ? "Toggle On" : "Toggle Off"));
            }
            break;
        case Gesture::program:
            if (pressed)
            {
                cc (0, control.valueOf ("Bank MSB"));
                cc (32, control.valueOf ("Bank LSB"));
                messages.push_back (juce::MidiMessage::programChange (channel, control.valueOf ("Program")));
            }
            break;
    }
}
} // namespace

juce::StringArray ControlPlayer::playableControls (const PresetCodec::Image& image)
{
    juce::StringArray names;
    for (const auto& control : ControlState::all (image))
        if (playableOf (control) != nullptr)
            names.add (control.getName());
    return names;
}

juce::Result ControlPlayer::play (const PresetCodec::Image& image, const juce::String& assignment,
                                  std::vector<juce::MidiMessage>& messages)
{
    if (!assignment.containsChar ('='))
        return juce::Result::fail ("\"" + assignment + "\" is not CONTROL=VALUE");
    return play (image, assignment.upToFirstOccurrenceOf ("=", false, false).trim(),
                 assignment.fromFirstOccurrenceOf ("=", false, false).trim(), messages);
}

juce::Result ControlPlayer::play (const PresetCodec::Image& image, const juce::String& name,
                                  const juce::String& action, std::vector<juce::MidiMessage>& messages)
{
    const auto control = ControlState::find (image, name);
    if (!control.has_value())
        return juce::Result::fail ("there is no control \"" + name + "\"");
    const auto* playable = playableOf (*control);
    if (playable == nullptr)
        return juce::Result::fail (name + " cannot be played");
    if (const auto checked = checkAction (name, playable->gesture, action); checked.failed())
        return checked;
    perform (*control, playable->gesture, action, toggledOn, messages);
    return juce::Result::ok();
}
