// Waits until a viewable window with exactly the given title exists, then prints the wall-clock
// time in milliseconds. It looks again only when a window appears on the screen (or every 50 ms),
// so it takes almost nothing from the program being measured or from the X server, as starting a
// tool every few milliseconds would.
//
//   wait-for-window TITLE PID     exits 1 if the process PID ends first, 2 after 20 s
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
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

bool findShown (Display* display, Window window, const char* title)
{
    if (hasTitle (display, window, title) && isViewable (display, window))
        return true;

    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;

    if (XQueryTree (display, window, &root, &parent, &children, &count) == 0)
        return false;

    auto found = false;

    for (unsigned int i = 0; i < count && !found; ++i)
        found = findShown (display, children[i], title);

    if (children != nullptr)
        XFree (children);

    return found;
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
    if (argc != 3)
    {
        std::fprintf (stderr, "usage: %s TITLE PID\n", argv[0]);
        return 2;
    }

    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
        return 2;

    XSetErrorHandler (ignoreErrors);
    const auto pid = static_cast<pid_t> (std::atoi (argv[2]));
    const auto deadline = nowMs() + 20000;
    const auto root = DefaultRootWindow (display);
    // A window manager maps its frame as a child of the root: that is when the window shows.
    XSelectInput (display, root, SubstructureNotifyMask);
    XSync (display, False);

    while (nowMs() < deadline)
    {
        if (findShown (display, root, argv[1]))
        {
            std::printf ("%lld\n", nowMs());
            return 0;
        }

        if (kill (pid, 0) != 0)
            return 1;

        pollfd connection{ConnectionNumber (display), POLLIN, 0};

        if (XPending (display) == 0)
            ::poll (&connection, 1, 50);

        while (XPending (display) > 0)
        {
            XEvent event;
            XNextEvent (display, &event);
        }
    }

    return 2;
}
