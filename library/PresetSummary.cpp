#include "library/PresetSummary.h"

#include "preset/ParameterIndex.h"

#include <vector>

namespace
{
/** What a mode sends, in the line's words, and the parameter whose number it sends with. */
struct ModeWords
{
    const char* mode;
    const char* words;
    const char* number;
};

constexpr ModeWords modeWords[] = {{"CC", "CC", "CC"},           {"Aftertouch", "aftertouch", nullptr},
                                   {"Note", "notes", "Note"},    {"CC Toggle", "CC toggle", "CC"},
                                   {"CC Momentary", "CC", "CC"}, {"Program Change", "programs", "Program"}};

/** Where one control keeps what the line reads. */
struct ControlBytes
{
    int mode = 0;
    int channel = 0;
    /** Per mode (by its stored value): the byte of the number it sends, -1 for none. */
    std::vector<int> number;
    /** Per mode: its words. */
    juce::StringArray words;
};

struct Kind
{
    const char* title;
    ControlType type;
    int count;
    std::vector<ControlBytes> controls;
};

int offsetOf (const juce::String& name)
{
    const auto* entry = ParameterIndex::find (name);
    jassert (entry != nullptr);
    return entry != nullptr ? entry->offset : 0;
}

std::vector<Kind> makeKinds()
{
    std::vector<Kind> kinds{{"Knobs", ControlType::Knob, 4, {}},
                            {"Pads", ControlType::Pad, 8, {}},
                            {"Switches", ControlType::Switch, 4, {}}};
    for (auto& kind : kinds)
    {
        const auto& schema = controlSchema (kind.type);
        for (int n = 1; n <= kind.count; ++n)
        {
            const auto title = controlTitle (kind.type, n) + " ";
            ControlBytes control;
            control.mode = offsetOf (title + ControlSchema::modeLabel);
            control.channel = offsetOf (title + "MIDI Channel");
            for (const auto& mode : schema.getModes())
                for (const auto& words : modeWords)
                    if (mode.name == words.mode)
                    {
                        control.number.push_back (words.number != nullptr ? offsetOf (title + words.number)
                                                                          : -1);
                        control.words.add (words.words);
                    }
            jassert (control.words.size() == static_cast<int> (schema.getModes().size()));
            kind.controls.push_back (std::move (control));
        }
    }
    return kinds;
}

const std::vector<Kind>& kinds()
{
    static const auto shared = makeKinds();
    return shared;
}

juce::String partOf (const Kind& kind, const PresetCodec::Image& image)
{
    juce::StringArray parts;
    const auto modes = kind.controls.front().words.size();
    for (int mode = 0; mode < modes; ++mode)
    {
        juce::Array<int> numbers;
        juce::Array<int> channels;
        for (const auto& control : kind.controls)
        {
            if (image[control.mode] != mode)
                continue;
            if (const auto byte = control.number[static_cast<size_t> (mode)]; byte >= 0)
                numbers.add (image[byte]);
            // Channels are shown from 1.
            channels.addIfNotAlreadyThere (image[control.channel] + 1);
        }
        if (channels.isEmpty())
            continue;
        channels.sort();
        auto part = kind.controls.front().words[mode];
        if (!numbers.isEmpty())
            part << " " << PresetSummary::numbers (numbers);
        parts.add (part + " ch " + PresetSummary::numbers (channels));
    }
    return parts.isEmpty() ? juce::String() : juce::String (kind.title) + " " + parts.joinIntoString (", ");
}
} // namespace

juce::String PresetSummary::numbers (const juce::Array<int>& values)
{
    if (values.isEmpty())
        return {};
    bool rising = true;
    bool same = true;
    for (int i = 1; i < values.size(); ++i)
    {
        rising = rising && values[i] == values[i - 1] + 1;
        same = same && values[i] == values[0];
    }
    // Four knobs on one CC send one number.
    if (same)
        return juce::String (values[0]);
    if (rising && values.size() > 2)
        return juce::String (values[0]) + "-" + juce::String (values.getLast());
    juce::StringArray listed;
    for (const auto value : values)
        listed.add (juce::String (value));
    return listed.joinIntoString (", ");
}

juce::String PresetSummary::of (const PresetCodec::Image& image)
{
    if (image.size() != static_cast<int> (presetDataLength()))
        return {};
    juce::StringArray parts;
    for (const auto& kind : kinds())
        if (const auto part = partOf (kind, image); part.isNotEmpty())
            parts.add (part);
    return parts.joinIntoString (juce::String::fromUTF8 (" \xc2\xb7 "));
}
