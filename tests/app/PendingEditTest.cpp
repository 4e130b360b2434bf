#include <gtest/gtest.h>

#include "AppTestSupport.h"

#include "app/CommandIDs.h"
#include "app/WindowManager.h"
#include "editor/EditorTestSupport.h"
#include "editor/NumberBox.h"

namespace
{
/** Typed text that was never committed with Return or by leaving the box must still be what a
    save, a send or a close with "Yes" takes: the screen shows it. */
class PendingEditTest : public ::testing::Test
{
protected:
    PendingEditTest()
    {
        windows->newDocument();
        document = windows->getDocument (0);
        commands.setFirstCommandTarget (document);
        dialogs.chooserAnswers.push_back (file);
        EXPECT_TRUE (document->saveAs());
    }

    ~PendingEditTest() override { commands.setFirstCommandTarget (nullptr); }

    NumberBox& channelBox() { return boxOnPage (*document->getEditor(), 4, "Keybed MIDI Channel"); }

    /** Typed, as a user does, without Return and without leaving the box. */
    void typeWithoutCommitting (const juce::String& text)
    {
        channelBox().setText ({}, false);
        channelBox().insertTextAtCaret (text);
        ASSERT_TRUE (channelBox().hasPendingText());
    }

    /** The stored "Keybed MIDI Channel" byte (preset offset 2) in the saved file. */
    int savedChannelByte() const
    {
        juce::MemoryBlock content;
        file.loadFileAsData (content);
        return content.getSize() == 103 ? static_cast<const juce::uint8*> (content.getData())[9 + 2] : -1;
    }

    void pressSaveKey()
    {
        const juce::KeyPress ctrlS ('s', juce::ModifierKeys::commandModifier, 0);
        ASSERT_TRUE (commands.getKeyMappings()->containsMapping (CommandIDs::saveDocument, ctrlS));
        commands.getKeyMappings()->keyPressed (ctrlS, document);
    }

    TemporaryFolder folder;
    juce::File file = folder / "Song.marlo";
    RecordingDialogs dialogs;
    juce::File lastDirectory = folder.get();
    SimulatedMarlo* marlo = new SimulatedMarlo(); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    juce::ApplicationCommandManager commands;
    std::unique_ptr<WindowManager> windows =
        std::make_unique<WindowManager> (&midi, &commands, &lastDirectory);
    EditorDocument* document = nullptr;
};
} // namespace

TEST_F (PendingEditTest, SaveByKeyAndByMenuTakeTheTypedValue)
{
    typeWithoutCommitting ("9");
    pressSaveKey();
    EXPECT_EQ (savedChannelByte(), 8) << "channel 9 is stored as 8";
    EXPECT_FALSE (channelBox().hasPendingText());

    typeWithoutCommitting ("12");
    // The menu invokes the command without a key press.
    ASSERT_TRUE (commands.invokeDirectly (CommandIDs::saveDocument, false));
    EXPECT_EQ (savedChannelByte(), 11);
}

TEST_F (PendingEditTest, RefusedTextIsDroppedAndThePreviousValueSaved)
{
    typeWithoutCommitting ("4");
    pressSaveKey();
    ASSERT_EQ (savedChannelByte(), 3);

    for (const auto* refused : {"17", "0", ""})
    {
        SCOPED_TRACE (refused);
        channelBox().setText (refused, false);
        pressSaveKey();
        EXPECT_EQ (savedChannelByte(), 3);
        EXPECT_EQ (channelBox().getText(), "4");
    }
}

TEST_F (PendingEditTest, SaveAsTakesTheTypedValue)
{
    typeWithoutCommitting ("16");
    dialogs.chooserAnswers.push_back (file);
    ASSERT_TRUE (commands.invokeDirectly (CommandIDs::saveDocumentAs, false));
    EXPECT_EQ (savedChannelByte(), 15);
}

TEST_F (PendingEditTest, SendTakesTheTypedValue)
{
    midi.setOutputDevice (SimulatedMarlo::deviceName);
    typeWithoutCommitting ("7");
    ASSERT_TRUE (commands.invokeDirectly (CommandIDs::sendPreset, false));
    EXPECT_EQ (marlo->getDumpCount(), 1);
    EXPECT_EQ (marlo->getPreset()[2], 6);
}

TEST_F (PendingEditTest, CloseWithYesSavesTheTypedValue)
{
    typeWithoutCommitting ("5");
    dialogs.saveAnswers.push_back (Dialogs::SaveAnswer::yes);
    windows->windowCloseRequested (document);
    EXPECT_EQ (windows->getNumDocuments(), 0);
    EXPECT_EQ (savedChannelByte(), 4);
}
