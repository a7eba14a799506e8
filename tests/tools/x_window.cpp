// x_window find|close PID [TIMEOUT_S]: waits for the window on screen that process PID, or a
// process it started, shows on $DISPLAY, and prints its id (find) or asks it to close the way a
// window manager does (close: WM_DELETE_WINDOW), for tests that drive a program's window.
//
// The window is known by its owner (_NET_WM_PID, which GLFW sets), not by its title: tests running
// side by side may show windows with the same title on the same display. PID may be a wrapper
// such as timeout(1), whose child owns the window.
//
// Exit status: 0 done; 1 no such window in time; 2 usage; 3 the display cannot be opened or went
// away; 4 PID ended before it showed a window. Each failure says why on stderr, so that a test
// can stop the program at once instead of waiting out its time limit.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <sys/types.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace {

const char* displayName() {
    const char* name = std::getenv("DISPLAY");
    return name ? name : "(DISPLAY unset)";
}

// Xlib's own handler exits with status 1, which would read as "no window in time".
int displayLost(Display*) {
    std::cerr << "x_window: the display " << displayName() << " went away\n";
    std::exit(3);
}

struct ProcessState {
    char state = 0;  // 0 when the process is gone
    pid_t parent = 0;
};

// From /proc/PID/stat, "pid (command) state ppid ...": the command may hold spaces and parentheses.
ProcessState stateOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    ProcessState process;
    const std::size_t close = std::getline(stat, line) ? line.rfind(')') : std::string::npos;
    if (close == std::string::npos) return process;
    std::istringstream rest(line.substr(close + 1));
    long parent = 0;
    rest >> process.state >> parent;
    process.parent = static_cast<pid_t>(parent);
    return process;
}

// Running: neither gone nor a zombie, which its shell has not waited for yet.
bool running(pid_t pid) {
    const char state = stateOf(pid).state;
    return state != 0 && state != 'Z';
}

bool startedBy(pid_t pid, pid_t ancestor) {
    for (int depth = 0; pid > 1 && depth < 64; ++depth, pid = stateOf(pid).parent)
        if (pid == ancestor) return true;
    return false;
}

pid_t ownerOf(Display* display, Window window) {
    static const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    pid_t owner = 0;
    if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        if (type == XA_CARDINAL && format == 32 && count == 1) owner = static_cast<pid_t>(*reinterpret_cast<long*>(data));
        XFree(data);
    }
    return owner;
}

Window findOwnedBy(Display* display, Window root, pid_t pid) {
    Window parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        // Only a window on screen: the capture tool's hidden windows belong to other processes
        // anyway, but a program's own hidden helper windows must not be taken for its window.
        XWindowAttributes attributes;
        const bool viewable = XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable;
        if (viewable) {
            const pid_t owner = ownerOf(display, children[i]);
            if (owner > 0 && startedBy(owner, pid)) found = children[i];
        }
        if (!found) found = findOwnedBy(display, children[i], pid);
    }
    if (children) XFree(children);
    return found;
}

void askToClose(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// A window may be destroyed between listing it and reading it (BadWindow); Xlib's own handler
// would exit. The calls check their results, and the walk goes on.
int ignoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char** argv) {
    const std::string action = argc > 1 ? argv[1] : "";
    const pid_t pid = argc > 2 ? static_cast<pid_t>(std::atol(argv[2])) : 0;
    if ((action != "find" && action != "close") || pid <= 1 || argc > 4) {
        std::cerr << "usage: x_window find|close PID [TIMEOUT_S]\n";
        return 2;
    }
    const double timeout = argc > 3 ? std::atof(argv[3]) : 30.0;
    XSetIOErrorHandler(displayLost);
    XSetErrorHandler(ignoreError);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::cerr << "x_window: cannot open the display " << displayName() << "\n";
        return 3;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    Window window = 0;
    while (!(window = findOwnedBy(display, DefaultRootWindow(display), pid))) {
        if (!running(pid)) {
            std::cerr << "x_window: process " << pid << " ended before it showed a window\n";
            XCloseDisplay(display);
            return 4;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            std::cerr << "x_window: process " << pid << " showed no window in " << timeout << " s\n";
            XCloseDisplay(display);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (action == "close")
        askToClose(display, window);
    else
        std::cout << window << "\n";
    XCloseDisplay(display);
    return 0;
}
