#include "platform/QueuedWindowEvents.h"

// The framework's X display and the handler it runs for the display's socket, which its public
// headers leave out.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_events/native/juce_linux_EventLoopInternal.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
constexpr int framesPerSecond = 60;
}

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
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;

    // Counts what Xlib has read already, without a request or a read of the socket.
    if (display != nullptr && XEventsQueued (display, QueuedAlready) > 0)
        juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd (ConnectionNumber (display));
}

void QueuedWindowEvents::timerCallback()
{
    dispatch();
}
