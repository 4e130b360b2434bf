#include "platform/gui/KeptWindowImages.h"

#include <juce_gui_basics/juce_gui_basics.h>

// JUCE 7.0.5 on X11 drops a window's image after three seconds without painting, and when it makes
// the image again it moves the window to where it already is, a step meant for the windows it has
// just made (LinuxComponentPeer::LinuxRepaintManager). The window manager answers the move with a
// configure event, which the framework takes for the window's title bar being dragged: it closes
// whatever menu or list is open over the window, and the move drops the window's fixed size hints.
// A menu that a key or a click opened after a pause of three seconds closed a few milliseconds
// later, and the keys meant for it went to the control holding the keyboard. Flushing a window's
// pending repaints marks its image as used, without painting anything when nothing is pending;
// every window's are flushed each second.

namespace
{
// Well inside the three seconds after which the framework drops an image, on a busy machine too.
constexpr int intervalMs = 1000;
} // namespace

KeptWindowImages::KeptWindowImages()
{
    startTimer (intervalMs);
}

KeptWindowImages::~KeptWindowImages()
{
    stopTimer();
}

void KeptWindowImages::keepAll()
{
    for (int i = juce::ComponentPeer::getNumPeers(); --i >= 0;)
        if (auto* peer = juce::ComponentPeer::getPeer (i))
            peer->performAnyPendingRepaintsNow();
}

void KeptWindowImages::timerCallback()
{
    keepAll();
}
