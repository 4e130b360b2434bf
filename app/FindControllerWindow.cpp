#include "app/FindControllerWindow.h"

FindControllerWindow::FindControllerWindow (MidiManager& midiManager)
    : juce::ResizableWindow ("Find Controller", false), component (midiManager)
{
    setUsingNativeTitleBar (true);
    setResizable (false, false);
    setContentNonOwned (&component, true);
    centreWithSize (component.getWidth(), component.getHeight());
    component.onDone = [this]
    {
        // Deleted once the click or key that ended it has left the window.
        juce::MessageManager::callAsync ([window = juce::Component::SafePointer<FindControllerWindow> (this)]
                                         { delete window.getComponent(); });
    };
    addToDesktop();
    setVisible (true);
    toFront (true);
    enterModalState (true);
}

FindControllerWindow::~FindControllerWindow()
{
    clearContentComponent();
}

void FindControllerWindow::userTriedToCloseWindow()
{
    component.getCancelButton().triggerClick();
}
