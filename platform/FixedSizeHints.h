#pragma once

/** Tells the window manager that a top-level window has one size only: the minimum and maximum
    size hints both equal that size, so that it offers neither resizing nor maximising and refuses
    a resize request.

    JUCE 7 on X11 sets such hints from a window's logical size, which is wrong once the window is
    drawn at a scale, and replaces them with position and size hints alone every time it moves or
    resizes a window (XWindowSystem::setBounds), so they are set again after each of those. */
class FixedSizeHints
{
public:
    /** nativeWindow is the X window (a ComponentPeer's native handle); the size is in the
        screen's pixels. Does nothing without a display. */
    static void apply (void* nativeWindow, int physicalWidth, int physicalHeight);
};
