// Start-up time as a user sees it: starts a program and waits for the first
// drawing into its top-level window of the given title, on the X display of
// DISPLAY. It watches the root window for windows being mapped, and puts a
// Damage object on the one of that title as soon as it is mapped. At each
// damage report it reads the window's pixels: the first frame on screen is
// the first damage after which the window shows more than one colour. The
// window's plain background, which the X server may fill in when it is
// mapped, is reported as damage too, long before the program has drawn
// anything; it doesn't count.
//
//   qx_first_paint_probe [--timeout SECONDS] TITLE PROGRAM [ARGUMENTS...]
//
// Prints the milliseconds from just before exec to that first frame, then
// asks the window to close as its close box would (WM_DELETE_WINDOW) and
// waits for the program to end: ended by a signal instead, a Windows
// program under Wine leaves state behind that holds up the next start for
// seconds. A program still there after 5 s gets SIGTERM, then SIGKILL.
// Exits 1 when no frame came within the timeout (10 s), 2 on bad use or
// without the Damage extension.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

bool titled(Display* display, Window window, const char* title) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) return false;
    const bool same = std::strcmp(name, title) == 0;
    XFree(name);
    return same;
}

int ignoreError(Display*, XErrorEvent*) { return 0; }

// Whether the window shows more than one colour now. A window not (yet)
// viewable can't be read and shows nothing.
bool drawnOn(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return false;
    XErrorHandler previous = XSetErrorHandler(ignoreError);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    XSetErrorHandler(previous);
    if (image == nullptr) return false;
    const unsigned long background = XGetPixel(image, 0, 0);
    bool other = false;
    for (int y = 0; y < image->height && !other; ++y) {
        for (int x = 0; x < image->width && !other; ++x) other = XGetPixel(image, x, y) != background;
    }
    XDestroyImage(image);
    return other;
}

// Whether a damage report of `window` is waiting in the queue.
bool damageQueued(Display* display, int damageEvent, Window window) {
    XEvent event;
    XDamageNotifyEvent* damage = reinterpret_cast<XDamageNotifyEvent*>(&event);
    while (XCheckTypedEvent(display, damageEvent + XDamageNotify, &event)) {
        if (damage->drawable == window) return true;
    }
    return false;
}

bool ended(pid_t child, int tenths) {
    for (int tenth = 0; tenth < tenths; ++tenth) {
        if (::waitpid(child, nullptr, WNOHANG) == child) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

void askToClose(Display* display, Window window) {
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &close);
    XFlush(display);
}

void endChild(Display* display, Window window, pid_t child) {
    if (window != 0) askToClose(display, window);
    if (window != 0 && ended(child, 50)) return;
    ::kill(child, SIGTERM);
    if (ended(child, 10)) return;
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    double timeout = 10;
    if (argc > 2 && std::strcmp(argv[1], "--timeout") == 0) {
        timeout = std::atof(argv[2]);
        first = 3;
    }
    if (argc - first < 2) {
        std::fprintf(stderr, "usage: qx_first_paint_probe [--timeout SECONDS] TITLE PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const char* title = argv[first];
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "qx_first_paint_probe: no X display\n");
        return 2;
    }
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "qx_first_paint_probe: the X server has no Damage extension\n");
        return 2;
    }
    // Substructure of the root: top-level windows mapped, and (without a
    // window manager) the program's own windows are its children.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = ::fork();
    if (child < 0) return 2;
    if (child == 0) {
        ::execvp(argv[first + 1], argv + first + 1);
        std::_Exit(127);
    }

    const Clock::time_point end = start + std::chrono::duration_cast<Clock::duration>(
                                              std::chrono::duration<double>(timeout));
    Window watched = 0;
    Damage damage = 0;
    double firstFrameMs = -1;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (firstFrameMs < 0 && Clock::now() < end) {
        if (XPending(display) == 0) {
            ::poll(&connection, 1, 20);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && watched == 0 && !event.xmap.override_redirect &&
            titled(display, event.xmap.window, title)) {
            watched = event.xmap.window;
            damage = XDamageCreate(display, watched, XDamageReportNonEmpty);
            XFlush(display);
        } else if (event.type == damageEvent + XDamageNotify &&
                   reinterpret_cast<XDamageNotifyEvent*>(&event)->drawable == watched) {
            const Clock::time_point reported = Clock::now();
            // Emptied first, so that drawing from now on is reported again.
            XDamageSubtract(display, damage, None, None);
            if (!drawnOn(display, watched)) continue;
            // The server reports drawing before it answers the read: drawing
            // reported meanwhile happened while the pixels were being read.
            const Clock::time_point drawn = damageQueued(display, damageEvent, watched) ? Clock::now() : reported;
            firstFrameMs = std::chrono::duration<double, std::milli>(drawn - start).count();
        }
    }
    endChild(display, watched, child);
    XCloseDisplay(display);
    if (firstFrameMs < 0) {
        std::fprintf(stderr, "qx_first_paint_probe: no frame of \"%s\" within %g s\n", title, timeout);
        return 1;
    }
    std::printf("%.1f\n", firstFrameMs);
    return 0;
}
