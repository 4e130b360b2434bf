#include "platform/gui/FixedSizeHints.h"

// The minimum and maximum size hints both equal the size. JUCE 7 on X11 sets such hints from a
// window's logical size, which is wrong once the window is drawn at a scale, and replaces them with
// position and size hints alone every time it moves or resizes a window (XWindowSystem::setBounds).

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdint>
#include <memory>

namespace
{
/** A connection of its own: the framework's is not reachable from outside it. The hints are a
    property of the window on the server, so either connection sets them. */
Display* hintsDisplay()
{
    struct Closer
    {
        void operator() (Display* display) const { XCloseDisplay (display); }
    };
    static const std::unique_ptr<Display, Closer> display (XOpenDisplay (nullptr));
    return display.get();
}
} // namespace

void FixedSizeHints::apply (void* nativeWindow, int physicalWidth, int physicalHeight)
{
    auto* display = hintsDisplay();

    if (display == nullptr || nativeWindow == nullptr || physicalWidth <= 0 || physicalHeight <= 0)
        return;

    const auto window = static_cast<::Window> (reinterpret_cast<std::uintptr_t> (nativeWindow));
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize | PSize;
    hints.width = hints.min_width = hints.max_width = physicalWidth;
    hints.height = hints.min_height = hints.max_height = physicalHeight;
    XSetWMNormalHints (display, window, &hints);
    XFlush (display);
}
