// Measures how long a window takes to paint a strip of itself again after
// another window covered and uncovered it, every 100 ms, with XGetImage.
// Each probe maps a magenta override-redirect window over the strip, takes
// it away, and reads the strip back from the screen until no magenta pixel
// is left: the window has painted it again. Also tells, per probe, whether
// process PID had children then (the freeing workers).
//
//   qx_repaint_probe WINDOW_NAME PID
//
// Prints "START_MS LATENCY_MS WORKERS" per probe, the times in milliseconds
// from the first probe, until process PID is gone.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/types.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned long kMagenta = 0xFF00FF;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

Window findNamed(Display* display, Window window, const char* name) {
    char* title = nullptr;
    if (XFetchName(display, window, &title) && title) {
        const bool same = std::strcmp(title, name) == 0;
        XFree(title);
        XWindowAttributes attributes;
        if (same && XGetWindowAttributes(display, window, &attributes) &&
            attributes.map_state == IsViewable) {
            return window;
        }
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = findNamed(display, children[i], name);
    if (children) XFree(children);
    return found;
}

bool hasChildren(pid_t pid) {
    std::ifstream children("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) +
                           "/children");
    std::string text;
    return std::getline(children, text) && !text.empty();
}

bool alive(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pidText, name, state;
    return stat >> pidText >> name >> state && state != "Z";
}

// Whether any pixel of the strip is still the cover's magenta.
bool stillCovered(Display* display, Window root, int x, int y, unsigned w, unsigned h) {
    XImage* image = XGetImage(display, root, x, y, w, h, AllPlanes, ZPixmap);
    if (!image) return false;
    bool covered = false;
    for (unsigned row = 0; row < h && !covered; ++row) {
        for (unsigned column = 0; column < w; ++column) {
            if ((XGetPixel(image, static_cast<int>(column), static_cast<int>(row)) & 0xFFFFFF) ==
                kMagenta) {
                covered = true;
                break;
            }
        }
    }
    XDestroyImage(image);
    return covered;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qx_repaint_probe WINDOW_NAME PID\n");
        return 2;
    }
    const char* name = argv[1];
    const pid_t pid = static_cast<pid_t>(std::atoi(argv[2]));
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "qx_repaint_probe: no display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);

    Window target = 0;
    const Clock::time_point looking = Clock::now();
    while (!(target = findNamed(display, root, name))) {
        if (msSince(looking) > 20000 || !alive(pid)) {
            std::fprintf(stderr, "qx_repaint_probe: no window named %s\n", name);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    XWindowAttributes attributes;
    XGetWindowAttributes(display, target, &attributes);
    int left = 0;
    int top = 0;
    Window ignored;
    XTranslateCoordinates(display, target, root, 0, 0, &left, &top, &ignored);
    // A strip across the middle of the window.
    const unsigned width = static_cast<unsigned>(attributes.width) > 40 ? attributes.width - 20 : 20;
    const unsigned height = 30;
    const int x = left + 10;
    const int y = top + attributes.height / 2;

    XSetWindowAttributes coverAttributes;
    coverAttributes.override_redirect = True;
    coverAttributes.background_pixel = kMagenta;
    const Window cover = XCreateWindow(display, root, x, y, width, height, 0, CopyFromParent,
                                       InputOutput, CopyFromParent,
                                       CWOverrideRedirect | CWBackPixel, &coverAttributes);

    const Clock::time_point start = Clock::now();
    while (alive(pid)) {
        const double probeStart = msSince(start);
        bool workers = hasChildren(pid);
        XMapRaised(display, cover);
        XSync(display, False);
        const Clock::time_point mapped = Clock::now();
        while (!stillCovered(display, root, x, y, width, height) && msSince(mapped) < 1000) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        XUnmapWindow(display, cover);
        XSync(display, False);
        const Clock::time_point uncovered = Clock::now();
        while (stillCovered(display, root, x, y, width, height) && msSince(uncovered) < 60000) {
            workers = workers || hasChildren(pid);
            if (!alive(pid)) break;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        if (!alive(pid)) break;
        const double latency = msSince(uncovered);
        std::printf("%.1f %.2f %d\n", probeStart, latency, workers ? 1 : 0);
        std::fflush(stdout);
        const double next = probeStart + 100;
        while (msSince(start) < next) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    XDestroyWindow(display, cover);
    XCloseDisplay(display);
    return 0;
}
