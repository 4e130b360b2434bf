#pragma once

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

private:
    juce::OwnedArray<juce::ImageButton> buttons;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainView)
};
