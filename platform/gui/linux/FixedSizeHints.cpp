#include "platform/gui/FixedSizeHints.h"

// The minimum and maximum size hints both equal the size. JUCE 7 on X11 sets such hints from a
// window's logical size, which is wrong once the window is drawn at a scale, and replaces them with
// position and size hints alone every time it moves or resizes a window (XWindowSystem::setBounds).

// The framework's X display, which its public headers leave out.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdint>

void FixedSizeHints::apply (void* nativeWindow, int physicalWidth, int physicalHeight)
{
    // Through the framework's own connection, in order with its requests: on a connection of
    // their own, hints for a window that the framework had just destroyed came back as an error
    // that Xlib's default handler turned into an exit when that connection closed at the end.
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;

    if (display == nullptr || nativeWindow == nullptr || physicalWidth <= 0 || physicalHeight <= 0)
        return;

    const auto window = static_cast<::Window> (reinterpret_cast<std::uintptr_t> (nativeWindow));
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize | PSize;
    hints.width = hints.min_width = hints.max_width = physicalWidth;
    hints.height = hints.min_height = hints.max_height = physicalHeight;
    juce::XWindowSystemUtilities::ScopedXLock xLock;
    XSetWMNormalHints (display, window, &hints);
    XFlush (display);
}
