#include "platform/gui/QueuedWindowEvents.h"

// The framework's X display and the handler it runs for the display's socket, which its public
// headers leave out.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_events/native/juce_linux_EventLoopInternal.h>
#include <juce_gui_basics/juce_gui_basics.h>

// JUCE 7.0.5 runs its X11 event handler from its message loop only when the X connection's socket can be
// read (juce_linux_Messaging.cpp). Xlib, while it waits for the reply to a request, reads every
// event that came before the reply into a queue of its own: XSync when the framework destroys a
// window, XGetWindowProperty when it asks whether a window it has just moved is minimised,
// XGetWindowAttributes before it moves the keyboard. With nothing left on the socket, those events
// wait until the next one arrives, such as a pointer motion. The expose events of a document that
// the MIDI Monitor or Device Setup uncovered while the window manager put them in their place
// waited that way, leaving that part of the document white. The queue is looked at every frame,
// which asks nothing of the server.

namespace
{
constexpr int framesPerSecond = 60;

::Display* frameworkDisplay()
{
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    return windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
}

/** Counts what Xlib has read already, without a request to the server or a read of the socket. */
bool hasQueuedEvents (::Display* display)
{
    return display != nullptr && XEventsQueued (display, QueuedAlready) > 0;
}
} // namespace

QueuedWindowEvents::QueuedWindowEvents()
{
    startTimerHz (framesPerSecond);
}

QueuedWindowEvents::~QueuedWindowEvents()
{
    stopTimer();
}

void QueuedWindowEvents::dispatch()
{
    if (auto* display = frameworkDisplay(); hasQueuedEvents (display))
        juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd (ConnectionNumber (display));
}

void QueuedWindowEvents::timerCallback()
{
    // Handled as a message of its own, as the framework's loop handles the socket: an event may
    // start a modal loop (a close asks the save question), which inside a timer's callback would
    // hold back every timer of the program, repaints included, until it ended.
    if (hasQueuedEvents (frameworkDisplay()))
        juce::MessageManager::callAsync (&QueuedWindowEvents::dispatch);
}
