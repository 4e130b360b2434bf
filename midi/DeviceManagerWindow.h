#pragma once

#include "midi/DeviceListModel.h"
#include "midi/DeviceManagerComponent.h"
#include "midi/DeviceSelection.h"
#include "midi/MidiManager.h"

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>

/** The Device Setup window. It deletes itself when "OK" or "Cancel" closes it; the window
    manager reaches it through a weak reference. */
class DeviceManagerWindow final : public juce::ResizableWindow, public juce::ActionListener
{
public:
    /** Neither is owned; both outlive the window. Without settings nothing is remembered. */
    explicit DeviceManagerWindow (MidiManager& midiManager, DeviceSettings* settings = nullptr);
    ~DeviceManagerWindow() override;

    void actionListenerCallback (const juce::String& message) override;
    /** The window manager's own close button closes like "Cancel". */
    void userTriedToCloseWindow() override;
    /** Return and Escape reach the window itself while nothing inside has the focus. */
    bool keyPressed (const juce::KeyPress& key) override;

    DeviceManagerComponent& getComponent() noexcept { return component; }

    /** What "Find Controller" does; unset, the button does nothing. */
    std::function<void()> onFindController;
    /** Selects the pair in the lists and opens it as "OK" would, the window staying open. */
    void choose (const juce::String& input, const juce::String& output);
    /** The lists as the devices are now; the selections stay on their names. */
    void followLists (const juce::StringArray& inputs, const juce::StringArray& outputs)
    {
        selection.followLists (inputs, outputs);
    }

private:
    DeviceListModel inputModel;
    DeviceListModel outputModel;
    DeviceManagerComponent component;
    DeviceSelection selection;

    JUCE_DECLARE_WEAK_REFERENCEABLE (DeviceManagerWindow)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceManagerWindow)
};
