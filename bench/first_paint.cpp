// Starts a program and watches its window from outside, through the X server: the time from
// the start to the first paint of its main window, and its resident memory once shown.
// Usage: first_paint X Y PROGRAM [ARGS...]; X, Y is a point of the window's client area that is
// black until the program paints it (Xvfb -br leaves unpainted windows black).
// Prints: first_paint_ms=<ms> rss_kb=<kB>; ends the program afterwards.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long window_pid(Display* display, Window window) {
    static const Atom net_wm_pid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, net_wm_pid, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        if (count == 1) pid = *reinterpret_cast<unsigned long*>(data);
        XFree(data);
    }
    return pid;
}

// A mapped top-level window of the process, big enough to be its main window.
Window find_window(Display* display, pid_t pid) {
    Window root, parent, *children = nullptr, found = 0;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            attributes.width > 100 && window_pid(display, children[i]) == pid)
            found = children[i];
    }
    if (children) XFree(children);
    return found;
}

bool painted(Display* display, Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return false;
    const bool lit = XGetPixel(image, 0, 0) != 0;
    XDestroyImage(image);
    return lit;
}

long resident_kb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

int ignore_errors(Display*, XErrorEvent*) { return 0; }  // windows may vanish between calls

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: first_paint X Y PROGRAM [ARGS...]\n");
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "first_paint: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[3], argv + 3);
        _exit(127);
    }

    int result = 1;
    Window window = 0;
    while (Clock::now() - start < std::chrono::seconds(20)) {
        if (!window) window = find_window(display, pid);
        if (window && painted(display, window, x, y)) {
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            // Let the first frame settle before the memory is read.
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            std::printf("first_paint_ms=%.1f rss_kb=%ld\n", ms, resident_kb(pid));
            result = 0;
            break;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) break;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    if (result) std::fprintf(stderr, "first_paint: no painted window from %s\n", argv[3]);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    return result;
}
