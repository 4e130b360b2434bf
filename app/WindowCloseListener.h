#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Told when a window wants to close; the listener decides whether and how it goes. */
class WindowCloseListener
{
public:
    /** The listener may delete the window during this call. */
    virtual void windowCloseRequested (juce::Component* window) = 0;
    virtual ~WindowCloseListener() = default;
};
