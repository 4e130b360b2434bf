#pragma once

#include "app/EditorDocument.h"
#include "editor/PictureLight.h"
#include "midi/MonitorComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

/** The MIDI Monitor window. It names and lights the controls of the document that was active
    last: the one it was opened from, then whichever document the keyboard focus goes to. It
    deletes itself when closed; the window manager reaches it through a weak reference.
*/
class MonitorWindow final : public juce::DocumentWindow, private juce::FocusChangeListener
{
public:
    /** The manager is not owned and outlives the window; the document may be null or go away. */
    MonitorWindow (MidiManager& midiManager, EditorDocument* watched,
                   std::unique_ptr<TransferTimer> drainTimer = TransferTimer::createSystemTimer(),
                   std::function<double()> clockMs = &juce::Time::getMillisecondCounterHiRes);
    ~MonitorWindow() override;

    MonitorComponent& getComponent() noexcept { return component; }
    EditorDocument* getWatchedDocument() const noexcept { return watched.getComponent(); }
    /** The light over the watched document's picture; null without a document. */
    PictureLight* getLight() const noexcept { return watched != nullptr ? light.get() : nullptr; }
    void watch (EditorDocument* document);

    /** Puts the keyboard focus on the list, unless something inside has it already. */
    void focusInside();

    void closeButtonPressed() override;
    void activeWindowStatusChanged() override;
    void focusGained (FocusChangeType cause) override;

private:
    void globalFocusChanged (juce::Component* focused) override;
    std::optional<MonitorComponent::WatchedPreset> watchedPreset() const;

    MonitorComponent component;
    juce::Component::SafePointer<EditorDocument> watched;
    std::unique_ptr<PictureLight> light;

    JUCE_DECLARE_WEAK_REFERENCEABLE (MonitorWindow)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MonitorWindow)
};
