#pragma once

#include <gtest/gtest.h>

#include "editor/EditorComponent.h"
#include "editor/EditorTestSupport.h"
#include "midi/MidiManager.h"
#include "midi/SimulatedMarlo.h"
#include "preset/ControlSchema.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetCodec.h"
#include "preset/PresetController.h"
#include "preset/PresetModel.h"
#include "support/RecordingDialogs.h"

#include <random>

inline std::vector<int> bytes (const PresetCodec::Image& image)
{
    return {image.begin(), image.end()};
}

/** A whole document's tree on a real controller, with a windowless model fed the same steps. */
struct EditedDocument : public ::testing::Test
{
    // As a new document starts.
    EditedDocument() { controller->loadPresetData (factoryPresetData()); }

    ~EditedDocument() override
    {
        controller->detach();
        editor.reset();
        controller.reset();
    }

    ParameterValue& binding (const juce::String& name)
    {
        auto* value = dynamic_cast<ParameterValue*> (findByName (*editor, name));
        if (value == nullptr)
            throw std::runtime_error ("no binding " + name.toStdString());
        return *value;
    }

    /** As the user does it: the box's text typed and Return pressed, or a mode picked in the list. */
    void userEnters (const juce::String& name, int storedValue)
    {
        if (auto* modeBox = findAs<ComboBoxParameterValue> (*editor, name))
            modeBox->setSelectedId (storedValue + 1, juce::sendNotificationSync);
        else
            typeAndCommit (*findAs<NumberBoxParameterValue> (*editor, name),
                           juce::String (storedValue + binding (name).getMinimum (false) -
                                         binding (name).getMinimum (true)));
        model.setStoredValue (name, storedValue);
    }

    /** Any box the user can reach now, any value in its range. */
    void userEntersARandomValue()
    {
        const auto names = model.getShownNames();
        const auto& name = names[std::uniform_int_distribution<int> (0, names.size() - 1) (random)];
        auto& value = binding (name);
        userEnters (name, std::uniform_int_distribution<int> (value.getMinimum (true),
                                                              value.getMaximum (true)) (random));
    }

    void userPicksMode (const juce::String& control, const juce::String& mode)
    {
        const auto position = controlAt (offsetOf (control + " Mode"));
        userEnters (control + " Mode", controlSchema (position->type).indexOfMode (mode));
    }

    int offsetOf (const juce::String& name) const
    {
        for (const auto& entry : ParameterIndex::all())
            if (entry.name == name)
                return entry.offset;
        throw std::out_of_range (name.toStdString());
    }

    int byteOf (const juce::String& name) const { return controller->getPresetData()[offsetOf (name)]; }

    /** Every byte that a box shows in its control's current mode holds that box's value. */
    void expectEveryShownBoxMatchesItsByte()
    {
        for (const auto& name : model.getShownNames())
        {
            EXPECT_EQ (binding (name).getValue(), byteOf (name)) << name;
            EXPECT_TRUE (binding (name).getValue() >= 0.0) << name;
        }
    }

    /** The editor and the windowless model hold the same image and every box the same value. */
    void expectModelAgrees()
    {
        ASSERT_EQ (bytes (controller->getPresetData()), bytes (model.getImage()));
        for (const auto& entry : ParameterIndex::all())
            ASSERT_EQ (static_cast<int> (binding (entry.name).getValue()), *model.getStoredValue (entry.name))
                << entry.name;
    }

    /** A random image the codec accepts: every control in a random mode, every byte within the
        range that mode gives it. */
    PresetCodec::Image randomValidImage()
    {
        PresetCodec::Image image;
        image.insertMultiple (0, 0, presetDataLength());
        for (int offset = 0; offset < image.size(); ++offset)
        {
            const auto allowed = PresetCodec::allowedAt (image, offset);
            image.set (offset, static_cast<juce::uint8> (std::uniform_int_distribution<int> (
                                   allowed.minimum, allowed.maximum) (random)));
        }
        return image;
    }

    RecordingDialogs dialogs;
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    std::unique_ptr<PresetController> controller = createPresetController (midi);
    std::unique_ptr<EditorComponent> editor = everyPageMade (createEditorComponent (controller.get()));
    PresetModel model;
    std::mt19937 random{20261207};
};
