// x_close_window NAME [TIMEOUT_S]: waits for a window on screen titled NAME on $DISPLAY and asks
// it to close the way a window manager does (WM_DELETE_WINDOW), for tests of the close path.
// Exit status 0 when the request was sent, 1 when no such window appeared in time.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <thread>

namespace {

Window findByName(Display* display, Window root, const char* name) {
    Window parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        // Only a window on screen: the capture tool's hidden windows share the title, and a test
        // running beside this one must not have its capture closed.
        XWindowAttributes attributes;
        const bool viewable = XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable;
        char* title = nullptr;
        if (viewable && XFetchName(display, children[i], &title) && title) {
            if (std::strcmp(title, name) == 0) found = children[i];
            XFree(title);
        }
        if (!found) found = findByName(display, children[i], name);
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: x_close_window NAME [TIMEOUT_S]\n";
        return 2;
    }
    const double timeout = argc > 2 ? std::atof(argv[2]) : 30.0;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::cerr << "x_close_window: no display\n";
        return 1;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    Window window = 0;
    while (!(window = findByName(display, DefaultRootWindow(display), argv[1]))) {
        if (std::chrono::steady_clock::now() > deadline) {
            XCloseDisplay(display);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return 0;
}
