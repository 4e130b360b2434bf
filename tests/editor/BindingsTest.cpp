#include <gtest/gtest.h>

#include "EditorTestSupport.h"

TEST (NumberBinding, ChannelIsShownOneHigherThanStored)
{
    auto binding = createNumberBoxParameterValue (1, 16, 1, 1, "Knob 1 MIDI Channel");
    EXPECT_EQ (binding->getText(), "1") << "shows its default before any listener";
    EXPECT_EQ (binding->getValue(), 0.0);

    RecordingListener listener;
    binding->addListener (&listener);
    binding->addListener (&listener);
    binding->addListener (nullptr);

    binding->setValue (15);
    EXPECT_EQ (binding->getText(), "16");
    EXPECT_EQ (binding->getValue(), 15.0);
    ASSERT_EQ (listener.calls.size(), 1u) << "a listener added twice is told once";
    EXPECT_EQ (listener.calls[0].name, "Knob 1 MIDI Channel");
    EXPECT_EQ (listener.calls[0].value, 15.0);

    EXPECT_EQ (binding->getMinimum (true), 0);
    EXPECT_EQ (binding->getMaximum (true), 15);
    EXPECT_EQ (binding->getMinimum (false), 1);
    EXPECT_EQ (binding->getMaximum (false), 16);

    binding->setValue (20);
    binding->setValue (-1);
    EXPECT_EQ (binding->getValue(), 15.0);
    EXPECT_EQ (listener.calls.size(), 1u) << "refused values tell nobody";
}

TEST (NumberBinding, TransposeMapsSignedShownValuesToUnsignedBytes)
{
    auto binding = createNumberBoxParameterValue (-12, 12, 0, -12, "Keybed Transpose");
    EXPECT_EQ (binding->getText(), "0");
    EXPECT_EQ (binding->getValue(), 12.0);
    EXPECT_EQ (binding->getMinimum (true), 0);
    EXPECT_EQ (binding->getMaximum (true), 24);
    EXPECT_EQ (binding->getMinimum (false), -12);

    RecordingListener listener;
    binding->addListener (&listener);

    binding->setValue (0);
    EXPECT_EQ (binding->getText(), "-12");

    typeAndCommit (*binding, "12");
    EXPECT_EQ (binding->getValue(), 24.0);
    ASSERT_EQ (listener.calls.size(), 2u);
    EXPECT_EQ (listener.calls[1].value, 24.0);

    typeAndCommit (*binding, "12");
    EXPECT_EQ (listener.calls.size(), 3u) << "re-entering the shown number still reports";
}

TEST (NumberBinding, FactorySetsLookAndName)
{
    auto binding = createNumberBoxParameterValue (0, 127, 127, 0, "Pad 2 Pressed");
    EXPECT_EQ (binding->getName(), "Pad 2 Pressed");
    EXPECT_EQ (binding->getParameterName(), "Pad 2 Pressed");
    EXPECT_EQ (binding->getText(), "127");
    EXPECT_EQ (binding->findColour (juce::TextEditor::textColourId), juce::Colour (0xff117fc6));
    EXPECT_FALSE (binding->isMultiLine());

    binding->setParameterName ("Pad 2 Released");
    EXPECT_EQ (binding->getName(), "Pad 2 Released");
}

TEST (ComboBinding, StoredValueIsTheItemPosition)
{
    auto binding =
        createComboBoxParameterValue ({"Note", "CC Toggle", "CC Momentary", "Program Change"}, "Pad 1 Mode");
    EXPECT_EQ (binding->getName(), "Pad 1 Mode");
    EXPECT_EQ (binding->getValue(), -1.0) << "nothing selected yet";
    EXPECT_EQ (binding->getMinimum (true), 0);
    EXPECT_EQ (binding->getMaximum (true), 3);
    EXPECT_EQ (binding->getMinimum (false), 1);
    EXPECT_EQ (binding->getMaximum (false), 4);

    RecordingListener listener;
    binding->addListener (&listener);

    binding->setValue (3);
    EXPECT_EQ (binding->getSelectedId(), 4);
    EXPECT_EQ (binding->getText(), "Program Change");
    ASSERT_EQ (listener.calls.size(), 1u);
    EXPECT_EQ (listener.calls[0].value, 3.0);

    binding->setValue (3);
    EXPECT_EQ (listener.calls.size(), 1u) << "the item already selected calls nobody";

    binding->setValue (0);
    EXPECT_EQ (binding->getText(), "Note");
    EXPECT_EQ (listener.calls.size(), 2u);
}

TEST (ComboBinding, ValuesNamingNoItemAreRefused)
{
    // Otherwise the selection would be cleared and the byte written as -1.
    auto binding = createComboBoxParameterValue ({"CC", "Aftertouch"}, "Knob 1 Mode");
    RecordingListener listener;
    binding->addListener (&listener);
    binding->setValue (1);

    binding->setValue (2);
    binding->setValue (-1);
    EXPECT_EQ (binding->getValue(), 1.0);
    EXPECT_EQ (listener.calls.size(), 1u);
}

TEST (Bindings, SetValueFromAnotherThreadTakesTheMessageLock)
{
    // The controller may apply a received preset from the MIDI thread; the widget update and the
    // report must both happen while the message thread is held.
    auto binding = createNumberBoxParameterValue (1, 16, 1, 1, "Sustain MIDI Channel");
    RecordingListener listener;
    binding->addListener (&listener);

    std::atomic<bool> done{false};
    std::thread other (
        [&]
        {
            binding->setValue (9);
            done = true;
        });

    while (!done)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);

    other.join();
    EXPECT_EQ (binding->getText(), "10");
    ASSERT_EQ (listener.calls.size(), 1u);
    EXPECT_EQ (listener.calls[0].value, 9.0);
}
