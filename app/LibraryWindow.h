#pragma once

#include "app/LibraryComponent.h"
#include "midi/PresetSender.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The Library window: the presets of the library's folder, read when the window opens (never
    at start), the folder made if it is missing. It deletes itself when closed; the window
    manager reaches it through a weak reference.
*/
class LibraryWindow final : public juce::DocumentWindow, private PresetSender::Client
{
public:
    /** `openPreset` opens a file as a dropped one opens; "Send on Select" sends through the
        sender, which is not owned and outlives the window (without one nothing is sent). */
    LibraryWindow (const juce::File& folder, std::function<void (const juce::File&)> openPreset,
                   PresetSender* sender = nullptr);
    ~LibraryWindow() override;

    LibraryComponent& getComponent() noexcept { return component; }
    const juce::File& getFolder() const noexcept { return folder; }

    /** Reads the folder again into the list, keeping the selection where it can. */
    void reload();

    /** Puts the keyboard focus on the search field, unless something inside has it already. */
    void focusInside();

    void closeButtonPressed() override;
    void activeWindowStatusChanged() override;
    void focusGained (FocusChangeType cause) override;

private:
    void presetSent (const juce::String& outputName) override;
    void sendingSettled (const PresetCodec::Image&) override {}

    /** Reads the folder again, selects `file` and says how the change went. */
    void showChange (const juce::Result& result, const juce::File& file, const juce::String& done);

    juce::File folder;
    PresetSender* sender;
    LibraryComponent component;
    /** The name of the preset last handed to the sender, for the line that says it went. */
    juce::String sending;

    JUCE_DECLARE_WEAK_REFERENCEABLE (LibraryWindow)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LibraryWindow)
};
