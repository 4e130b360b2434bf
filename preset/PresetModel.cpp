#include "preset/PresetModel.h"

#include "preset/ControlSchema.h"

PresetModel::PresetModel()
{
    image.insertMultiple (0, 0, presetDataLength());

    // Building a document writes every box's default in registration order; the factory preset
    // is then applied over them.
    for (const auto& control : allControls())
    {
        const auto& schema = controlSchema (control.type);
        const auto prefix = controlTitle (control.type, control.controlNumber) + " ";
        const auto first = controlOffset (control.type, control.controlNumber);
        for (const auto& parameter : schema.getParameters())
        {
            // A mode selector starts on its first mode.
            const auto stored = parameter.spec.widgetKind == 1
                                    ? 0
                                    : parameter.spec.defaultValue - parameter.spec.displayOffset;
            boxes[prefix + parameter.label] =
                Box{first + parameter.byte, schema.getStoredRange (parameter), stored};
            image.set (first + parameter.byte, static_cast<juce::uint8> (stored));
        }
    }

    const auto loaded = load (factoryPresetData());
    jassertquiet (loaded.wasOk());
}

juce::Result PresetModel::load (const PresetCodec::Image& newImage)
{
    const auto checked = PresetCodec::checkImage (newImage);
    if (checked.failed())
        return checked;

    // Every box takes its byte's value if it can; a box that cannot (a curve given 100 while its
    // pad plays controllers) keeps what it showed, as a hidden widget does.
    for (auto& [name, box] : boxes)
        if (box.range.contains (newImage[box.offset]))
            box.value = newImage[box.offset];
    image = newImage;
    return juce::Result::ok();
}

juce::Result PresetModel::setStoredValue (const juce::String& name, int storedValue)
{
    const auto found = boxes.find (name);
    if (found == boxes.end())
        return juce::Result::fail ("there is no parameter \"" + name + "\"");
    if (!found->second.range.contains (storedValue))
        return juce::Result::fail (
            name + " takes stored values " + juce::String (found->second.range.minimum) + " to " +
            juce::String (found->second.range.maximum) + ", not " + juce::String (storedValue));

    write (name, storedValue);
    return juce::Result::ok();
}

void PresetModel::write (const juce::String& name, int value)
{
    auto& box = boxes.at (name);
    box.value = value;
    image.set (box.offset, static_cast<juce::uint8> (value));

    if (!isModeByte (box.offset))
        return;
    const auto writes = writesForModeChange (
        box.offset, value, [this] (const juce::String& boxName) { return getStoredValue (boxName); });
    for (const auto& change : writes)
        image.set (change.offset, static_cast<juce::uint8> (change.value));
}

std::optional<int> PresetModel::getStoredValue (const juce::String& name) const
{
    const auto found = boxes.find (name);
    if (found == boxes.end())
        return std::nullopt;
    return found->second.value;
}

juce::StringArray PresetModel::getShownNames() const
{
    juce::StringArray names;
    for (const auto& control : allControls())
    {
        const auto& schema = controlSchema (control.type);
        const auto modeByte = schema.getModeByte();
        const auto first = controlOffset (control.type, control.controlNumber);
        const auto modeValue = modeByte >= 0 ? static_cast<int> (image[first + modeByte]) : 0;
        if (const auto* mode = schema.findMode (modeValue))
            for (const auto& label : mode->labels)
                names.add (controlTitle (control.type, control.controlNumber) + " " + label);
    }
    return names;
}

bool PresetModel::isModeByte (int offset)
{
    const auto position = controlAt (offset);
    return position.has_value() && controlSchema (position->type).getModeByte() == position->byte;
}

std::vector<PresetModel::ByteWrite>
PresetModel::writesForModeChange (int modeOffset, int modeValue,
                                  const std::function<std::optional<int> (const juce::String&)>& boxValue)
{
    std::vector<ByteWrite> writes;
    const auto position = controlAt (modeOffset);
    if (!position.has_value())
        return writes;

    const auto& schema = controlSchema (position->type);
    const auto first = modeOffset - position->byte;
    const auto title = controlTitle (position->type, position->controlNumber);
    for (int byte = 0; byte < bytesPerControl (position->type); ++byte)
    {
        const auto label = schema.getLabelShownAt (modeValue, byte);
        if (label.isEmpty() || byte == position->byte)
            continue;
        if (const auto value = boxValue (title + " " + label))
            writes.push_back ({first + byte, *value});
    }
    return writes;
}
