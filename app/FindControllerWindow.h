#pragma once

#include "app/FindControllerComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The Find Controller window: modal while it is open, so that no get or compare starts while the
    search asks the devices. It deletes itself when the user is done; the window manager reaches
    it through a weak reference. */
class FindControllerWindow final : public juce::ResizableWindow
{
public:
    /** The manager is not owned and outlives the window. */
    explicit FindControllerWindow (MidiManager& midiManager);
    ~FindControllerWindow() override;

    FindControllerComponent& getComponent() noexcept { return component; }

    /** The window manager's close button is "Cancel". */
    void userTriedToCloseWindow() override;
    bool keyPressed (const juce::KeyPress& key) override { return component.keyPressed (key); }

private:
    FindControllerComponent component;

    JUCE_DECLARE_WEAK_REFERENCEABLE (FindControllerWindow)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FindControllerWindow)
};
