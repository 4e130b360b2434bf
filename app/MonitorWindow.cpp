#include "app/MonitorWindow.h"

MonitorWindow::MonitorWindow (MidiManager& midiManager, EditorDocument* document,
                              std::unique_ptr<TransferTimer> drainTimer, std::function<double()> clockMs)
    : juce::DocumentWindow ("MIDI Monitor", juce::Colours::white, juce::DocumentWindow::closeButton, false),
      component (midiManager, std::move (drainTimer), std::move (clockMs))
{
    component.presetSource = [this] { return watchedPreset(); };
    component.onControlsHeard = [this] (const juce::StringArray& controls, double nowMs)
    {
        if (auto* lit = getLight())
            lit->light (controls, nowMs);
    };
    component.onDrained = [this] (double nowMs)
    {
        if (auto* lit = getLight())
            lit->update (nowMs);
    };
    // Posted, so that the window is not deleted inside the key handling that asked for it.
    component.onCloseRequested = [this] { closeButtonPressed(); };

    watch (document);
    setUsingNativeTitleBar (true);
    setResizable (false, false);
    setContentNonOwned (&component, true);
    centreWithSize (getWidth(), getHeight());
    // Put on the desktop once, at its final size and place: each size asked for while on the
    // desktop reaches a busy window manager as a request of its own, and one that it handles after
    // it has framed the window can leave the window at the framework's minimum size in the corner.
    addToDesktop();
    juce::Desktop::getInstance().addFocusChangeListener (this);
}

MonitorWindow::~MonitorWindow()
{
    juce::Desktop::getInstance().removeFocusChangeListener (this);
    light.reset();
    clearContentComponent();
}

void MonitorWindow::watch (EditorDocument* document)
{
    if (document == watched.getComponent() && (document == nullptr || light != nullptr))
        return;

    light.reset();
    watched = document;
    if (document != nullptr && document->getEditor() != nullptr)
        light = std::make_unique<PictureLight> (document->getEditor()->getPictureSelector());
}

std::optional<MonitorComponent::WatchedPreset> MonitorWindow::watchedPreset() const
{
    if (watched == nullptr || watched->getController() == nullptr)
        return std::nullopt;
    return MonitorComponent::WatchedPreset{watched->getDocumentName(),
                                           watched->getController()->getPresetData()};
}

void MonitorWindow::globalFocusChanged (juce::Component* focused)
{
    if (focused == nullptr)
        return;
    if (auto* document = dynamic_cast<EditorDocument*> (focused->getTopLevelComponent()))
        watch (document);
}

void MonitorWindow::focusInside()
{
    if (!component.hasKeyboardFocus (true))
        component.getList().grabKeyboardFocus();
}

void MonitorWindow::activeWindowStatusChanged()
{
    juce::DocumentWindow::activeWindowStatusChanged();
    if (isActiveWindow())
        focusInside();
}

void MonitorWindow::focusGained (FocusChangeType)
{
    // The window system's news that this window has the keys can come after the list took them;
    // the framework then gives them to the window itself, where no key is handled. They go back to
    // the list, as a document's go to its page; only while this window has them, so that a late
    // notice does not take them from another window.
    if (auto* peer = getPeer(); peer != nullptr && peer->isFocused())
        focusInside();
}

void MonitorWindow::closeButtonPressed()
{
    juce::Component::SafePointer<MonitorWindow> self (this);
    juce::MessageManager::callAsync (
        [self]
        {
            if (self != nullptr)
                delete self.getComponent();
        });
}
