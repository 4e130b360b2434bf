#pragma once

#include "preset/ModelParameterValue.h"
#include "preset/PresetController.h"
#include "preset/PresetModel.h"

#include <memory>
#include <vector>

/** A document without windows: a PresetModel, one model-backed binding per layout name and the
    editor's own PresetController wired to them. Sending and getting a preset through it follow
    exactly the rules the editor follows, and the controller receives every byte of a reply
    because every byte has bindings.
*/
class HeadlessPreset
{
public:
    explicit HeadlessPreset (MidiManager& midiManager);
    ~HeadlessPreset();

    /** Loads an image into the model and the controller; on refusal nothing changes. */
    juce::Result load (const PresetCodec::Image& image);

    /** Takes what the controller holds (after a get) into the model. */
    juce::Result takeControllerImage();

    PresetController& getController() noexcept { return *controller; }
    PresetModel& getModel() noexcept { return model; }

private:
    PresetModel model;
    std::unique_ptr<PresetController> controller;
    std::vector<std::unique_ptr<ModelParameterValue>> bindings;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HeadlessPreset)
};
