#include "platform/FixedSizeHints.h"

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
