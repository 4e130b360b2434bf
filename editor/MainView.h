#pragma once

#include "editor/ConnectionLine.h"
#include "editor/SentNote.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The main page: the four buttons that move the preset between the editor, the disk and the
    hardware. The controller tells them apart by their component names. */
class MainView final : public juce::Component
{
public:
    /** controller (not owned, may be null) listens to the four buttons. */
    explicit MainView (juce::Button::Listener* controller);
    ~MainView() override;

    const juce::OwnedArray<juce::ImageButton>& getButtons() const noexcept { return buttons; }
    /** Right of the buttons: where and when the preset was last sent. */
    SentNote& getSentNote() noexcept { return sentNote; }
    /** Beside the first button: the controller the editor talks to, and "Find Controller". */
    ConnectionLine& getConnectionLine() noexcept { return connectionLine; }

    /** Up and Down move the keyboard between the buttons, top to bottom, and stop at either end. */
    bool keyPressed (const juce::KeyPress& key) override;

private:
    juce::OwnedArray<juce::ImageButton> buttons;
    SentNote sentNote;
    ConnectionLine connectionLine;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainView)
};
