#include "preset/HeadlessPreset.h"

HeadlessPreset::HeadlessPreset (MidiManager& midiManager) : controller (createPresetController (midiManager))
{
    for (const auto& entry : presetLayout())
    {
        auto binding = std::make_unique<ModelParameterValue> (model, entry.name);
        binding->addListener (controller.get());
        bindings.push_back (std::move (binding));
    }
    // Each binding reports its value once, as a widget does when its page is built, which is how
    // the controller learns of it; the new document's image then goes through the normal load.
    for (auto& binding : bindings)
        binding->announce();
    const auto loaded = load (model.getImage());
    jassertquiet (loaded.wasOk());
}

HeadlessPreset::~HeadlessPreset()
{
    controller->detach();
}

juce::Result HeadlessPreset::load (const PresetCodec::Image& image)
{
    if (const auto checked = PresetCodec::checkImage (image); checked.failed())
        return checked;
    if (!controller->loadPresetData (image))
        return juce::Result::fail ("the controller refused the preset");
    return model.load (image);
}

juce::Result HeadlessPreset::takeControllerImage()
{
    return model.load (controller->getPresetData());
}
