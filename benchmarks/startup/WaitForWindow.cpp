// Waits until a viewable window with exactly the given title exists, then prints the wall-clock
// time in milliseconds. It looks again only when a window appears on the screen (or every 50 ms),
// so it takes almost nothing from the program being measured or from the X server, as starting a
// tool every few milliseconds would.
//
// With "painted" it also waits until the program has first drawn the whole window and prints that
// time after the first. The framework maps a window before it paints it, and text is laid out as it
// is painted, so only this second time includes what the first picture costs. It watches every
// window from its creation, so it must run before the program makes its window: given "-" for PID,
// it prints "ready" once it watches, then reads the program's PID from its input.
//
//   wait-for-window TITLE PID|- [painted]     exits 1 if the process PID ends first, 2 after 20 s
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <poll.h>

namespace
{
/** WM_NAME or _NET_WM_NAME equals the title; either may be UTF-8, which XFetchName does not read. */
bool hasTitle (Display* display, Window window, const char* title)
{
    for (const auto* property : {"WM_NAME", "_NET_WM_NAME"})
    {
        Atom type = 0;
        int format = 0;
        unsigned long length = 0, remaining = 0;
        unsigned char* name = nullptr;

        if (XGetWindowProperty (display, window, XInternAtom (display, property, False), 0, 1024, False,
                                AnyPropertyType, &type, &format, &length, &remaining, &name) != Success)
            continue;

        const auto same = name != nullptr && format == 8 && std::strlen (title) == length &&
                          std::memcmp (name, title, length) == 0;

        if (name != nullptr)
            XFree (name);

        if (same)
            return true;
    }

    return false;
}

bool isViewable (Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes (display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

/** The viewable window with the title at or below window, or 0. */
Window findShown (Display* display, Window window, const char* title)
{
    if (hasTitle (display, window, title) && isViewable (display, window))
        return window;

    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;

    if (XQueryTree (display, window, &root, &parent, &children, &count) == 0)
        return 0;

    Window found = 0;

    for (unsigned int i = 0; i < count && found == 0; ++i)
        found = findShown (display, children[i], title);

    if (children != nullptr)
        XFree (children);

    return found;
}

/** Whether a drawn rectangle covers the whole window. */
bool coversWindow (Display* display, const XDamageNotifyEvent& damage)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes (display, damage.drawable, &attributes) != 0 && damage.area.x <= 0 &&
           damage.area.y <= 0 && damage.area.x + damage.area.width >= attributes.width &&
           damage.area.y + damage.area.height >= attributes.height;
}

long long nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds> (system_clock::now().time_since_epoch()).count();
}

int ignoreErrors (Display*, XErrorEvent*)
{
    // A window that goes away while it is being looked at is no failure.
    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    const auto wantsPaint = argc == 4 && std::strcmp (argv[3], "painted") == 0;

    if (argc != 3 && !wantsPaint)
    {
        std::fprintf (stderr, "usage: %s TITLE PID [painted]\n", argv[0]);
        return 2;
    }

    auto* display = XOpenDisplay (nullptr);
    int damageEvents = 0, damageErrors = 0;

    if (display == nullptr || (wantsPaint && !XDamageQueryExtension (display, &damageEvents, &damageErrors)))
        return 2;

    XSetErrorHandler (ignoreErrors);
    const auto root = DefaultRootWindow (display);
    // A window manager maps its frame as a child of the root: that is when the window shows. The
    // program creates its own window there too, before the manager takes it into a frame.
    XSelectInput (display, root, SubstructureNotifyMask);
    XSync (display, False);

    auto pid = static_cast<pid_t> (std::atoi (argv[2]));

    if (std::strcmp (argv[2], "-") == 0)
    {
        std::printf ("ready\n");
        std::fflush (stdout);

        if (std::scanf ("%d", &pid) != 1)
            return 2;
    }

    const auto deadline = nowMs() + 20000;

    // When each window was first drawn whole. Smaller drawings come before that (the server
    // reports one of 128 x 128 pixels as a JUCE window is shown), so every rectangle is reported.
    std::map<Window, long long> firstPaint;
    long long shownAt = 0;
    Window shown = 0;

    while (nowMs() < deadline)
    {
        if (shown == 0 && (shown = findShown (display, root, argv[1])) != 0)
        {
            shownAt = nowMs();

            if (!wantsPaint)
                break;
        }

        if (shown != 0 && firstPaint.count (shown) != 0)
            break;

        if (kill (pid, 0) != 0)
            return 1;

        pollfd connection{ConnectionNumber (display), POLLIN, 0};

        if (XPending (display) == 0)
            ::poll (&connection, 1, 50);

        while (XPending (display) > 0)
        {
            XEvent event;
            XNextEvent (display, &event);

            if (wantsPaint && event.type == CreateNotify && event.xcreatewindow.parent == root)
                XDamageCreate (display, event.xcreatewindow.window, XDamageReportRawRectangles);
            else if (wantsPaint && event.type == damageEvents + XDamageNotify)
                if (const auto& damage = reinterpret_cast<XDamageNotifyEvent&> (event);
                    firstPaint.count (damage.drawable) == 0 && coversWindow (display, damage))
                    firstPaint.emplace (damage.drawable, nowMs());
        }
    }

    if (shown == 0 || (wantsPaint && firstPaint.count (shown) == 0))
        return 2;

    if (wantsPaint)
        std::printf ("%lld %lld\n", shownAt, firstPaint[shown]);
    else
        std::printf ("%lld\n", shownAt);

    return 0;
}
