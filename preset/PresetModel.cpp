#include "preset/PresetModel.h"

#include "preset/ControlSchema.h"
#include "preset/ParameterIndex.h"

/** What every model shares: each box's name, byte and range, and the boxes each control's modes
    show, worked out once so that a model is an image and a row of numbers. */
class PresetModel::Layout
{
public:
    struct Box
    {
        juce::String name;
        int offset = 0;
        ControlSchema::StoredRange range;
        int defaultValue = 0;
    };

    struct Control
    {
        /** -1 for a control without modes. */
        int modeOffset = -1;
        /** By mode value, the boxes the mode shows, top to bottom. */
        std::vector<std::vector<int>> shownBoxes;
    };

    Layout()
    {
        // The boxes are the index's entries, in its order.
        for (const auto& parameter : ParameterIndex::all())
        {
            const auto& spec = parameter.parameter->spec;
            // A mode selector starts on its first mode.
            const auto stored = spec.widgetKind == 1 ? 0 : spec.defaultValue - spec.displayOffset;
            boxes.push_back ({parameter.name, parameter.offset,
                              parameter.schema->getStoredRange (*parameter.parameter), stored});
        }
        for (const auto& control : allControls())
        {
            const auto& schema = controlSchema (control.type);
            const auto prefix = controlTitle (control.type, control.controlNumber) + " ";
            const auto first = controlOffset (control.type, control.controlNumber);
            Control entry;
            entry.modeOffset = schema.getModeByte() >= 0 ? first + schema.getModeByte() : -1;
            for (const auto& mode : schema.getModes())
            {
                entry.shownBoxes.emplace_back();
                for (const auto& label : mode.labels)
                    entry.shownBoxes.back().push_back (find (prefix + label));
            }
            controls.push_back (std::move (entry));
        }
    }

    static int find (const juce::String& name)
    {
        const auto* found = ParameterIndex::find (name);
        return found == nullptr ? -1 : found->index;
    }

    /** The boxes a control's current mode shows; none when the mode byte names no mode. */
    const std::vector<int>& shownBoxes (const Control& control, const PresetCodec::Image& image) const
    {
        static const std::vector<int> none;
        const auto mode = control.modeOffset >= 0 ? static_cast<size_t> (image[control.modeOffset]) : 0;
        return mode < control.shownBoxes.size() ? control.shownBoxes[mode] : none;
    }

    std::vector<Box> boxes;
    std::vector<Control> controls;
};

const PresetModel::Layout& PresetModel::layout()
{
    static const Layout shared;
    return shared;
}

PresetModel::PresetModel()
{
    // Building a document writes every box's default in registration order; the factory preset
    // is then applied over them.
    image.insertMultiple (0, 0, presetDataLength());
    for (const auto& box : layout().boxes)
    {
        values.push_back (box.defaultValue);
        image.set (box.offset, static_cast<juce::uint8> (box.defaultValue));
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
    const auto& boxes = layout().boxes;
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i].range.contains (newImage[boxes[i].offset]))
            values[i] = newImage[boxes[i].offset];
    image = newImage;
    return juce::Result::ok();
}

juce::Result PresetModel::setStoredValue (const juce::String& name, int storedValue)
{
    const auto index = layout().find (name);
    if (index < 0)
        return juce::Result::fail ("there is no parameter \"" + name + "\"");
    const auto& range = layout().boxes[static_cast<size_t> (index)].range;
    if (!range.contains (storedValue))
        return juce::Result::fail (name + " takes stored values " + juce::String (range.minimum) + " to " +
                                   juce::String (range.maximum) + ", not " + juce::String (storedValue));

    write (index, storedValue, true);
    return juce::Result::ok();
}

void PresetModel::takeShownValue (const juce::String& name, int storedValue, bool followModeRule)
{
    const auto index = layout().find (name);
    if (index >= 0)
        write (index, storedValue, followModeRule);
}

void PresetModel::write (int index, int value, bool followModeRule)
{
    const auto offset = layout().boxes[static_cast<size_t> (index)].offset;
    values[static_cast<size_t> (index)] = value;
    image.set (offset, static_cast<juce::uint8> (value & 0xFF));

    if (!followModeRule || !isModeByte (offset))
        return;
    const auto writes = writesForModeChange (
        offset, value, [this] (const juce::String& boxName) { return getStoredValue (boxName); });
    for (const auto& change : writes)
        image.set (change.offset, static_cast<juce::uint8> (change.value));
}

std::optional<int> PresetModel::getStoredValue (const juce::String& name) const
{
    const auto index = layout().find (name);
    if (index < 0)
        return std::nullopt;
    return values[static_cast<size_t> (index)];
}

juce::StringArray PresetModel::getShownNames() const
{
    juce::StringArray names;
    names.ensureStorageAllocated (static_cast<int> (layout().boxes.size()));
    for (const auto& control : layout().controls)
        for (const auto box : layout().shownBoxes (control, image))
            names.add (layout().boxes[static_cast<size_t> (box)].name);
    return names;
}

bool PresetModel::shownBoxesMatchImage() const
{
    for (const auto& control : layout().controls)
        for (const auto box : layout().shownBoxes (control, image))
            if (image[layout().boxes[static_cast<size_t> (box)].offset] != values[static_cast<size_t> (box)])
                return false;
    return true;
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
