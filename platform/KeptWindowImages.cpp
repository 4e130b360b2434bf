#include "platform/KeptWindowImages.h"

#include <juce_gui_basics/juce_gui_basics.h>

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
