#include <gtest/gtest.h>

#include "EditedDocument.h"
#include "preset/ParameterIndex.h"

namespace
{
/** What undo must bring back: the bytes and what every box holds, hidden boxes included. */
struct Shown
{
    std::vector<int> image;
    std::map<juce::String, double> boxes;
    bool operator== (const Shown& other) const { return image == other.image && boxes == other.boxes; }
};

std::ostream& operator<< (std::ostream& out, const Shown& shown)
{
    for (auto byte : shown.image)
        out << byte << ' ';
    return out;
}

struct UndoTest : public EditedDocument
{
    // As a new document: the preset it starts with is no step.
    UndoTest() { controller->clearUndoHistory(); }

    Shown shown()
    {
        Shown result{bytes (controller->getPresetData()), {}};
        for (const auto& entry : ParameterIndex::all())
            result.boxes[entry.name] = binding (entry.name).getValue();
        return result;
    }

    /** A value the box of `name` takes and does not hold now. */
    int otherValueFor (const juce::String& name)
    {
        auto& box = binding (name);
        return (static_cast<int> (box.getValue()) + 1) % (box.getMaximum (true) + 1);
    }

    /** Every byte a box shows in its control's current mode holds that box's value. */
    void expectShownBoxesMatchTheirBytes()
    {
        // The model only tells which boxes each mode shows; it takes the modes from the screen.
        for (const auto& entry : ParameterIndex::all())
            model.setStoredValue (entry.name, static_cast<int> (binding (entry.name).getValue()));
        expectEveryShownBoxMatchesItsByte();
    }

    int undoSteps()
    {
        int count = 0;
        while (controller->undo())
            ++count;
        return count;
    }
};
} // namespace

TEST_F (UndoTest, EachCommittedValueIsOneStepAndTheSameValueAgainIsNone)
{
    EXPECT_FALSE (controller->canUndo()) << "the starting preset is no step";
    EXPECT_FALSE (controller->undo());
    const auto start = shown();

    const auto first = otherValueFor ("Knob 1 CC");
    userEnters ("Knob 1 CC", first);
    const auto afterFirst = shown();
    userEnters ("Knob 1 CC", first);
    userEnters ("Knob 2 CC", otherValueFor ("Knob 2 CC"));
    const auto afterSecond = shown();

    ASSERT_TRUE (controller->undo());
    EXPECT_EQ (shown(), afterFirst);
    EXPECT_EQ (byteOf ("Knob 2 CC"), static_cast<int> (start.boxes.at ("Knob 2 CC")));
    ASSERT_TRUE (controller->undo());
    EXPECT_EQ (shown(), start);
    EXPECT_FALSE (controller->undo()) << "re-entering the same value made no step";

    ASSERT_TRUE (controller->redo());
    ASSERT_TRUE (controller->redo());
    EXPECT_EQ (shown(), afterSecond);
    EXPECT_FALSE (controller->redo());
    EXPECT_TRUE (dialogs.alertsShown().empty()) << "undo neither sends nor reads a file";
}

TEST_F (UndoTest, ANewEditClearsRedo)
{
    userEnters ("Pad 1 Note", otherValueFor ("Pad 1 Note"));
    const auto afterA = shown();
    userEnters ("Pad 1 Note", otherValueFor ("Pad 1 Note"));
    ASSERT_TRUE (controller->undo());
    EXPECT_TRUE (controller->canRedo());

    userEnters ("Pad 2 Note", otherValueFor ("Pad 2 Note"));
    EXPECT_FALSE (controller->canRedo());
    EXPECT_FALSE (controller->redo());
    ASSERT_TRUE (controller->undo());
    EXPECT_EQ (shown(), afterA);
}

TEST_F (UndoTest, KeepsTheNewestFiveHundredSteps)
{
    constexpr int edits = PresetController::minimumUndoSteps + 20;
    std::vector<Shown> states;
    for (int i = 0; i < edits; ++i)
    {
        const auto name = "Knob " + juce::String (i % 4 + 1) + " CC";
        userEnters (name, otherValueFor (name));
        states.push_back (shown());
    }

    EXPECT_EQ (undoSteps(), PresetController::minimumUndoSteps);
    // Back to the state the oldest kept step started from.
    EXPECT_EQ (shown(), states[edits - PresetController::minimumUndoSteps - 1]);

    int redone = 0;
    while (controller->redo())
        ++redone;
    EXPECT_EQ (redone, PresetController::minimumUndoSteps);
    EXPECT_EQ (shown(), states.back());
}

TEST_F (UndoTest, ALoadIsOneStepThatBringsBackEveryBoxHiddenOrNot)
{
    // Hidden boxes hold values the load will overwrite: undo must bring them back too.
    userPicksMode ("Pad 1", "CC Toggle");
    userEnters ("Pad 1 CC", 77);
    userPicksMode ("Pad 1", "Note");
    userEnters ("Pad 1 Note", 61);
    const auto beforeLoad = shown();

    const auto image = randomValidImage();
    const auto file = juce::File::createTempFile (".marlo");
    ASSERT_TRUE (file.replaceWithData (PresetCodec::encodeFile (image).getData(),
                                       PresetCodec::encodeFile (image).getSize()));
    ASSERT_TRUE (controller->loadFromFile (file));
    file.deleteFile();
    const auto afterLoad = shown();
    ASSERT_EQ (afterLoad.image, bytes (image));

    ASSERT_TRUE (controller->undo());
    EXPECT_EQ (shown(), beforeLoad);
    ASSERT_TRUE (controller->redo());
    EXPECT_EQ (shown(), afterLoad);

    // A refused load is no step.
    auto broken = image;
    broken.set (0, 200);
    EXPECT_FALSE (controller->loadPresetData (broken));
    ASSERT_TRUE (controller->undo());
    EXPECT_EQ (shown(), beforeLoad);
}

TEST_F (UndoTest, AModeChangeTakesItsSharedBytesThroughUndoAndRedo)
{
    // Byte 34 is shared by Pad 1's Note box (mode Note) and its CC box (mode CC Toggle).
    userEnters ("Pad 1 Note", 60);
    userPicksMode ("Pad 1", "CC Toggle");
    ASSERT_EQ (controller->getPresetData()[34], binding ("Pad 1 CC").getValue());
    const auto ccByte = controller->getPresetData()[34];
    ASSERT_NE (ccByte, 60);

    ASSERT_TRUE (controller->undo());
    EXPECT_EQ (binding ("Pad 1 Mode").getValue(), controlSchema (ControlType::Pad).indexOfMode ("Note"));
    EXPECT_EQ (controller->getPresetData()[34], 60);
    EXPECT_EQ (binding ("Pad 1 Note").getValue(), 60.0);

    ASSERT_TRUE (controller->redo());
    EXPECT_EQ (controller->getPresetData()[34], ccByte);
    EXPECT_EQ (binding ("Pad 1 Note").getValue(), 60.0) << "the hidden box keeps its value";
    expectShownBoxesMatchTheirBytes();
}

TEST_F (UndoTest, RandomEditsUndosAndRedosBringBackExactlyEachRecordedState)
{
    // The history as it should be: every distinct state in order, and where undo stands in it.
    std::vector<Shown> history{shown()};
    size_t current = 0;

    for (int round = 0; round < 200; ++round)
    {
        const auto choice = std::uniform_int_distribution<int> (0, 9) (random);
        if (choice < 3)
        {
            const auto expected = current > 0;
            ASSERT_EQ (controller->undo(), expected) << round;
            current -= expected ? 1 : 0;
        }
        else if (choice < 5)
        {
            const auto expected = current + 1 < history.size();
            ASSERT_EQ (controller->redo(), expected) << round;
            current += expected ? 1 : 0;
        }
        else
        {
            if (choice == 5)
                ASSERT_TRUE (controller->loadPresetData (randomValidImage()));
            else
                userEntersARandomValue();
            auto now = shown();
            if (!(now == history[current]))
            {
                history.resize (current + 1);
                history.push_back (std::move (now));
                ++current;
            }
        }

        ASSERT_EQ (shown(), history[current]) << round;
        expectShownBoxesMatchTheirBytes();
    }
}
