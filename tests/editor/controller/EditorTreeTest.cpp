#include <gtest/gtest.h>

#include "editor/EditorComponent.h"
#include "editor/EditorTestSupport.h"
#include "editor/ZellControlView.h"
#include "midi/MidiManager.h"
#include "midi/SimulatedMarlo.h"
#include "preset/Dialogs.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetController.h"
#include "preset/PresetMessages.h"

#include <map>

namespace
{
struct SilentDialogs final : public Dialogs
{
    void showAlert (const juce::String& title, const juce::String&) override { alerts.add (title); }
    void showModalMessage (const juce::String& title, const juce::String&) override { alerts.add (title); }
    SaveAnswer askSaveQuestion (const juce::String&, const juce::String&) override
    {
        return SaveAnswer::cancel;
    }
    std::optional<juce::File> chooseFileToOpen (const juce::String&, const juce::File&,
                                                const juce::String&) override
    {
        return {};
    }
    std::optional<juce::File> chooseFileToSave (const juce::String&, const juce::File&, const juce::String&,
                                                const juce::String&) override
    {
        return {};
    }

    juce::StringArray alerts;
};

/** A document's worth of objects: the controller and the tree wired to it, in the document's order. */
struct EditorTreeTest : public ::testing::Test
{
    EditorTreeTest()
    {
        Dialogs::set (&dialogs);
        for (const auto& entry : ParameterIndex::all())
            offsets[entry.name] = entry.offset;
    }

    ~EditorTreeTest() override
    {
        controller->detach();
        editor.reset();
        controller.reset();
        Dialogs::set (nullptr);
    }

    ParameterValue& binding (const juce::String& name)
    {
        auto* value = dynamic_cast<ParameterValue*> (findByName (*editor, name));
        if (value == nullptr)
            throw std::runtime_error ("no binding " + name.toStdString());
        return *value;
    }

    ZellControlView& panel (const juce::String& name) { return *findAs<ZellControlView> (*editor, name); }

    juce::File writePresetFile (const juce::Array<juce::uint8>& payload)
    {
        auto bytes = createDumpHeader();
        bytes.insert (0, 0xF0);
        bytes.addArray (payload);
        bytes.add (0xF7);
        file.getFile().replaceWithData (bytes.getRawDataPointer(), static_cast<size_t> (bytes.size()));
        return file.getFile();
    }

    SilentDialogs dialogs;
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    std::unique_ptr<PresetController> controller = createPresetController (midi);
    std::unique_ptr<EditorComponent> editor = everyPageMade (createEditorComponent (controller.get()));
    std::map<juce::String, int> offsets;
    juce::TemporaryFile file{".marlo"};
};
} // namespace

TEST_F (EditorTreeTest, EveryLayoutNameHasExactlyOneBinding)
{
    for (const auto& [name, offset] : offsets)
    {
        auto* value = dynamic_cast<ParameterValue*> (findByName (*editor, name));
        ASSERT_NE (value, nullptr) << name;
        EXPECT_EQ (value->getParameterName(), name);
    }
    EXPECT_EQ (offsets.size(), 177u);
}

TEST_F (EditorTreeTest, BuildingWritesTheDefaultsIntoThePreset)
{
    const auto& data = controller->getPresetData();
    EXPECT_EQ (data[offsets["Knob 1 Max"]], 127);
    EXPECT_EQ (data[offsets["Keybed Transpose"]], 12) << "shown 0";
    EXPECT_EQ (data[offsets["Keybed MIDI Channel"]], 0) << "shown 1";
    EXPECT_EQ (data[offsets["Sustain Pressed"]], 127);
    EXPECT_EQ (data[offsets["Mod Wheel Max"]], 127);
}

TEST_F (EditorTreeTest, EditingPadThreeCcWritesItsByte)
{
    auto* box = findAs<NumberBoxParameterValue> (*editor, "Pad 3 CC");
    ASSERT_NE (box, nullptr);
    typeAndCommit (*box, "77");

    EXPECT_EQ (offsets["Pad 3 CC"], 44);
    EXPECT_EQ (controller->getPresetData()[44], 77);

    typeAndCommit (*box, "300");
    EXPECT_EQ (controller->getPresetData()[44], 77) << "a refused entry writes nothing";

    auto* channel = findAs<NumberBoxParameterValue> (*editor, "Knob 2 MIDI Channel");
    typeAndCommit (*channel, "16");
    EXPECT_EQ (controller->getPresetData()[offsets["Knob 2 MIDI Channel"]], 15);
}

TEST_F (EditorTreeTest, LoadingAFileSetsEveryWidgetAndEveryPanelsMode)
{
    auto image = factoryPresetData();
    image.set (offsets["Knob 1 Mode"], 1);
    image.set (offsets["Knob 4 MIDI Channel"], 15);
    image.set (offsets["Pad 3 Mode"], 3);
    image.set (offsets["Pad 3 Program"], 99);
    image.set (offsets["Pad 6 Mode"], 2);
    image.set (offsets["Switch 2 Mode"], 2);
    image.set (offsets["Keybed Transpose"], 0);
    image.set (offsets["Sustain Pressed"], 64);

    ASSERT_TRUE (controller->loadFromFile (writePresetFile (image)));
    EXPECT_TRUE (dialogs.alerts.isEmpty()) << dialogs.alerts.joinIntoString (", ");

    for (const auto& [name, offset] : offsets)
    {
        auto& value = binding (name);
        const int byte = image[offset];
        // A byte with several meanings reaches only the bindings whose range holds it.
        if (byte >= value.getMinimum (true) && byte <= value.getMaximum (true))
        {
            EXPECT_EQ (value.getValue(), byte) << name;
        }
    }

    EXPECT_EQ (rowTexts (panel ("Knob 1")), (juce::StringArray{"Mode", "MIDI Channel", "Min", "Max"}));
    EXPECT_EQ (rowTexts (panel ("Knob 2")), (juce::StringArray{"Mode", "MIDI Channel", "CC", "Min", "Max"}));
    EXPECT_EQ (rowTexts (panel ("Pad 3")),
               (juce::StringArray{"Mode", "MIDI Channel", "Bank LSB", "Bank MSB", "Program"}));
    EXPECT_EQ (rowTexts (panel ("Pad 6")),
               (juce::StringArray{"Mode", "MIDI Channel", "CC", "Pressed", "Released"}));
    EXPECT_EQ (rowTexts (panel ("Switch 2")),
               (juce::StringArray{"Mode", "MIDI Channel", "Bank LSB", "Bank MSB", "Program"}));

    EXPECT_EQ (findAs<NumberBox> (*editor, "Knob 4 MIDI Channel")->getText(), "16");
    EXPECT_EQ (findAs<NumberBox> (*editor, "Keybed Transpose")->getText(), "-12");
    EXPECT_EQ (findAs<NumberBox> (*editor, "Pad 3 Program")->getText(), "99");
    EXPECT_EQ (findAs<juce::ComboBox> (*editor, "Pad 6 Mode")->getText(), "CC Momentary");

    EXPECT_EQ (controller->getPresetData(), image) << "the widgets' reports leave the image as loaded";

    // And back: the panel follows the mode value without any user action.
    image.set (offsets["Knob 1 Mode"], 0);
    ASSERT_TRUE (controller->loadFromFile (writePresetFile (image)));
    EXPECT_EQ (rowTexts (panel ("Knob 1")), (juce::StringArray{"Mode", "MIDI Channel", "CC", "Min", "Max"}));
}

TEST_F (EditorTreeTest, AnImageOutsideTheWidgetsRangesChangesNothing)
{
    auto image = factoryPresetData();
    image.set (offsets["Knob 1 Mode"], 2);
    const auto before = controller->getPresetData();

    EXPECT_FALSE (controller->loadFromFile (writePresetFile (image)));
    EXPECT_EQ (controller->getPresetData(), before);
    EXPECT_EQ (binding ("Knob 1 Mode").getValue(), 0.0);
    EXPECT_TRUE (dialogs.alerts.contains ("Invalid File"));
}

TEST_F (EditorTreeTest, SaveToHdButtonAsksTheDocumentThroughTheController)
{
    struct Recorder final : public juce::ActionListener
    {
        void actionListenerCallback (const juce::String& message) override { messages.add (message); }
        juce::StringArray messages;
    } recorder;

    controller->addActionListener (&recorder);
    findAs<juce::Button> (*editor, "Save To HD")->triggerClick();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    EXPECT_EQ (recorder.messages, juce::StringArray ("Save As"));
}
