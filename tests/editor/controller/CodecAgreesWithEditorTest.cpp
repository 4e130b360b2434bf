#include <gtest/gtest.h>

#include "editor/EditorComponent.h"
#include "editor/EditorTestSupport.h"
#include "midi/MidiManager.h"
#include "midi/SimulatedMarlo.h"
#include "preset/ControlSchema.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetCodec.h"
#include "preset/PresetController.h"
#include "support/RecordingDialogs.h"

#include <map>
#include <random>
#include <set>

namespace
{
struct Bound
{
    juce::String name;
    int offset = 0;
    ParameterValue* value = nullptr;
    juce::Component* widget = nullptr;
};

/** The editor with every binding attached, asked through its widgets alone which images it takes:
    each byte must lie within the range of every widget its control's mode puts on the screen
    (or, for a byte no mode shows, of every widget bound to it), and each mode byte within its
    selector's list. The codec must reach the same decision from its own table. */
struct CodecAgreesWithEditorTest : public ::testing::Test
{
    CodecAgreesWithEditorTest()
    {
        controller->loadPresetData (factoryPresetData());
        for (const auto& entry : ParameterIndex::all())
        {
            auto* widget = findByName (*editor, entry.name);
            auto* value = dynamic_cast<ParameterValue*> (widget);
            if (value == nullptr)
                throw std::runtime_error ("no binding " + entry.name.toStdString());
            bound.push_back ({entry.name, entry.offset, value, widget});
        }
        recordWhatEachModeShows();
    }

    ~CodecAgreesWithEditorTest() override
    {
        controller->detach();
        editor.reset();
        controller.reset();
    }

    /** Picks every mode of every control in its list, as the user does, and notes which of the
        control's widgets are then visible. */
    void recordWhatEachModeShows()
    {
        for (const auto& mode : bound)
        {
            auto* selector = dynamic_cast<ComboBoxParameterValue*> (mode.widget);
            if (selector == nullptr)
                continue;
            const auto first = mode.offset - controlAt (mode.offset)->byte;
            const auto last = first + bytesPerControl (controlAt (mode.offset)->type);
            for (int value = mode.value->getMinimum (true); value <= mode.value->getMaximum (true); ++value)
            {
                selector->setSelectedId (value + 1, juce::sendNotificationSync);
                auto& shown = shownInMode[{mode.offset, value}];
                for (const auto& other : bound)
                    if (other.offset >= first && other.offset < last && other.widget->isVisible())
                        shown.insert (other.name);
            }
        }
    }

    /** The widgets on screen for a byte when the image is loaded; all of its widgets when its
        control's mode shows none of them. */
    std::vector<const Bound*> widgetsDeciding (const PresetCodec::Image& image, int offset) const
    {
        const auto position = *controlAt (offset);
        const auto modeByte = controlSchema (position.type).getModeByte();
        const auto* shown = static_cast<const std::set<juce::String>*> (nullptr);
        if (modeByte >= 0 && modeByte != position.byte)
        {
            const auto modeOffset = offset - position.byte + modeByte;
            const auto found = shownInMode.find ({modeOffset, image[modeOffset]});
            if (found != shownInMode.end())
                shown = &found->second;
        }
        std::vector<const Bound*> all, visible;
        for (const auto& entry : bound)
        {
            if (entry.offset != offset)
                continue;
            all.push_back (&entry);
            if (shown != nullptr && shown->count (entry.name) > 0)
                visible.push_back (&entry);
        }
        return visible.empty() ? all : visible;
    }

    bool editorTakes (const PresetCodec::Image& image) const
    {
        // Mode bytes first: the meaning of the other bytes depends on them.
        for (int offset = 0; offset < image.size(); ++offset)
            for (const auto* entry : widgetsDeciding (image, offset))
                if (image[offset] < entry->value->getMinimum (true) ||
                    image[offset] > entry->value->getMaximum (true))
                    return false;
        return true;
    }

    void expectAgreement (const PresetCodec::Image& image, const std::string& what)
    {
        // The widgets post repaints and updates; delivered as they come, they do not pile up.
        if (++checked % 256 == 0)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
        const auto codec = PresetCodec::checkImage (image).wasOk();
        const auto editorDecision = editorTakes (image);
        ASSERT_EQ (codec, editorDecision)
            << what << ": " << PresetCodec::checkImage (image).getErrorMessage();
        ASSERT_EQ (controller->loadPresetData (image), codec) << what;
        if (!codec)
            return;
        ++accepted;
        ASSERT_EQ (controller->getPresetData(), image) << what << ": the dump is not the loaded image";
        for (const auto& entry : bound)
        {
            if (entry.widget->isVisible())
            {
                ASSERT_EQ (entry.value->getValue(), image[entry.offset]) << what << ": " << entry.name;
            }
        }
    }

    RecordingDialogs dialogs;
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    std::unique_ptr<PresetController> controller = createPresetController (midi);
    std::unique_ptr<EditorComponent> editor = everyPageMade (createEditorComponent (controller.get()));
    std::vector<Bound> bound;
    std::map<std::pair<int, int>, std::set<juce::String>> shownInMode;
    int checked = 0;
    int accepted = 0;
};

/** The factory image with every control in another mode than the factory's, so each shared byte is
    also tried under a second meaning. */
PresetCodec::Image withOtherModes (PresetCodec::Image image, int shift)
{
    for (const auto& control : allControls())
    {
        const auto& schema = controlSchema (control.type);
        if (schema.getModeByte() < 0)
            continue;
        const auto offset = controlOffset (control.type, control.controlNumber) + schema.getModeByte();
        const auto modes = static_cast<int> (schema.getModes().size());
        image.set (offset, static_cast<juce::uint8> ((control.controlNumber + shift) % modes));
        // Every byte of the control in a range all its modes share.
        for (int byte = 1; byte < bytesPerControl (control.type); ++byte)
            if (byte != schema.getParameters()[1].byte)
                image.set (offset - schema.getModeByte() + byte, 5);
    }
    return image;
}
} // namespace

TEST_F (CodecAgreesWithEditorTest, EveryByteAtEveryValueOnTopOfValidImages)
{
    for (int base = 0; base < 2; ++base)
    {
        const auto valid = base == 0 ? factoryPresetData() : withOtherModes (factoryPresetData(), base);
        ASSERT_TRUE (PresetCodec::checkImage (valid).wasOk()) << base;
        for (int offset = 0; offset < valid.size(); ++offset)
        {
            for (int value = 0; value < 128; ++value)
            {
                auto image = valid;
                image.set (offset, static_cast<juce::uint8> (value));
                expectAgreement (image, "base " + std::to_string (base) + ", byte " +
                                            std::to_string (offset) + " = " + std::to_string (value));
                if (HasFatalFailure())
                    return;
            }
        }
    }
    EXPECT_EQ (checked, 2 * 93 * 128);
    // Both decisions occur often, or the sample would prove little.
    EXPECT_GT (accepted, checked / 4);
    EXPECT_LT (accepted, checked);
}

TEST_F (CodecAgreesWithEditorTest, RandomImagesAndRandomMutationsOfValidOnes)
{
    std::mt19937 random (4242);
    std::uniform_int_distribution<int> anyByte (0, 127);
    std::uniform_int_distribution<int> anyOffset (0, presetDataLength() - 1);
    for (int round = 0; round < 2000; ++round)
    {
        PresetCodec::Image image;
        if (round % 3 == 0)
        {
            // Wholly random, mostly refused: the first refused byte anywhere must be found.
            for (int i = 0; i < presetDataLength(); ++i)
                image.add (static_cast<juce::uint8> (anyByte (random)));
        }
        else
        {
            // Valid in random modes, then a few bytes changed.
            image.insertMultiple (0, 0, presetDataLength());
            for (int offset = 0; offset < image.size(); ++offset)
            {
                const auto allowed = PresetCodec::allowedAt (image, offset);
                image.set (offset, static_cast<juce::uint8> (std::uniform_int_distribution<int> (
                                       allowed.minimum, allowed.maximum) (random)));
            }
            for (int change = round % 3; change > 0; --change)
                image.set (anyOffset (random), static_cast<juce::uint8> (anyByte (random)));
        }
        expectAgreement (image, "round " + std::to_string (round));
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT (accepted, 500);
    EXPECT_LT (accepted, checked);
}
