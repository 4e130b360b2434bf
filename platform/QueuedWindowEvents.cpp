#include "platform/QueuedWindowEvents.h"

// The framework's X display and the handler it runs for the display's socket, which its public
// headers leave out.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_events/native/juce_linux_EventLoopInternal.h>
#include <juce_gui_basics/juce_gui_basics.h>

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
