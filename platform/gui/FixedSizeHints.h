#pragma once

/** Tells the window manager that a top-level window has one size only, so that it offers neither
    resizing nor maximising and refuses a resize request. The framework may drop what this says
    whenever it moves or resizes a window, so it is told again after each of those. */
class FixedSizeHints
{
public:
    /** nativeWindow is a ComponentPeer's native handle; the size is in the screen's pixels. Does
        nothing without a display. */
    static void apply (void* nativeWindow, int physicalWidth, int physicalHeight);
};
