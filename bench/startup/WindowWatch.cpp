#include "bench/startup/WindowWatch.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>

WindowWatch::WindowWatch(const std::string& display) : display_(XOpenDisplay(display.c_str()))
{
    if (display_)
        XSelectInput(display_, XDefaultRootWindow(display_), SubstructureNotifyMask);
}

WindowWatch::~WindowWatch()
{
    if (display_)
        XCloseDisplay(display_);
}

bool WindowWatch::waitForWindow(const std::string& title, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == MapNotify && titleOf(event.xmap.window) == title)
                return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{XConnectionNumber(display_), POLLIN, 0};
        poll(&ready, 1, static_cast<int>(std::max<long>(left.count(), 0)));
    }
    return false;
}

std::string WindowWatch::titleOf(unsigned long window) const
{
    XTextProperty name{};
    if (!XGetWMName(display_, window, &name) || !name.value)
        return {};
    std::string title(reinterpret_cast<const char*>(name.value), name.nitems);
    XFree(name.value);
    return title;
}
