/* A real pointer for the desktop tests on sway: wlroots' virtual pointer,
 * driven by commands given as arguments (move-abs 10 20 click left) or, with
 * no arguments, one per line of the standard input:
 *   move-abs X Y             to X, Y in the layout's logical pixels
 *   move-rel DX DY
 *   press|release BUTTON     left, right or middle
 *   click BUTTON             press and release
 *   double-click BUTTON      two clicks 80 ms apart
 *   extent W H               the layout's size (the first output's otherwise)
 *   sleep MS
 * Each one ends with a frame, and once the compositor has had it "ok" is
 * printed (a line for each command), so a script feeding the standard input
 * can wait for it. The device lives as long as this program does: a seat
 * without another pointer loses its pointer when it ends, so keep one
 * program for a whole sequence. Build (the XML is beside this file):
 *   wayland-scanner client-header wlr-virtual-pointer-unstable-v1.xml vp.h
 *   wayland-scanner private-code wlr-virtual-pointer-unstable-v1.xml vp.c
 *   cc -I. -o virtual_pointer virtual_pointer.c vp.c -lwayland-client
 * and include vp.h by the name VP_HEADER when it is not "vp.h". */
#define _POSIX_C_SOURCE 200809L
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>
#ifndef VP_HEADER
#define VP_HEADER "vp.h"
#endif
#include VP_HEADER

static struct wl_seat *seat;
static struct wl_output *output;
static struct zwlr_virtual_pointer_manager_v1 *manager;
static struct zwlr_virtual_pointer_v1 *pointer;
static struct wl_display *display;
static int width, height, scale = 1;

static void mode(void *d, struct wl_output *o, uint32_t flags, int32_t w, int32_t h, int32_t r) {
    if (flags & WL_OUTPUT_MODE_CURRENT) { width = w; height = h; }
}
static void geometry(void *d, struct wl_output *o, int32_t x, int32_t y, int32_t pw, int32_t ph,
                     int32_t sub, const char *make, const char *model, int32_t transform) {}
static void done(void *d, struct wl_output *o) {}
static void set_scale(void *d, struct wl_output *o, int32_t f) { scale = f > 0 ? f : 1; }
static const struct wl_output_listener output_listener = { geometry, mode, done, set_scale };

static void global(void *d, struct wl_registry *r, uint32_t name, const char *iface, uint32_t version) {
    if (!strcmp(iface, wl_seat_interface.name) && !seat)
        seat = wl_registry_bind(r, name, &wl_seat_interface, 1);
    else if (!strcmp(iface, wl_output_interface.name) && !output) {
        output = wl_registry_bind(r, name, &wl_output_interface, version < 2 ? version : 2);
        wl_output_add_listener(output, &output_listener, NULL);
    } else if (!strcmp(iface, zwlr_virtual_pointer_manager_v1_interface.name))
        manager = wl_registry_bind(r, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
}
static void global_remove(void *d, struct wl_registry *r, uint32_t name) {}
static const struct wl_registry_listener registry_listener = { global, global_remove };

static uint32_t now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}
static void pause_ms(long ms) {
    struct timespec t = { ms / 1000, (ms % 1000) * 1000000 };
    nanosleep(&t, NULL);
}
static int button_code(const char *name) {
    if (!name) return -1;
    if (!strcmp(name, "left")) return BTN_LEFT;
    if (!strcmp(name, "right")) return BTN_RIGHT;
    if (!strcmp(name, "middle")) return BTN_MIDDLE;
    return -1;
}
static void button(int code, int pressed) {
    zwlr_virtual_pointer_v1_button(pointer, now(), code, pressed ? WL_POINTER_BUTTON_STATE_PRESSED
                                                                 : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_flush(display);
}
static void click(int code) { button(code, 1); pause_ms(20); button(code, 0); }

/* One command, its words in w (n of them); 0 when it was understood. */
static int run(char **w, int n) {
    int b = button_code(n > 1 ? w[1] : NULL);
    if (n == 3 && !strcmp(w[0], "move-abs")) {
        if (width <= 0 || height <= 0) return fprintf(stderr, "virtual_pointer: no output size\n"), 1;
        zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), atoi(w[1]), atoi(w[2]), width, height);
    } else if (n == 3 && !strcmp(w[0], "move-rel"))
        zwlr_virtual_pointer_v1_motion(pointer, now(), wl_fixed_from_int(atoi(w[1])), wl_fixed_from_int(atoi(w[2])));
    else if (n == 3 && !strcmp(w[0], "extent")) { width = atoi(w[1]); height = atoi(w[2]); return 0; }
    else if (n == 2 && !strcmp(w[0], "sleep")) { pause_ms(atol(w[1])); return 0; }
    else if (n == 2 && b >= 0 && (!strcmp(w[0], "press") || !strcmp(w[0], "release"))) {
        button(b, w[0][0] == 'p'); return 0;
    } else if (n == 2 && b >= 0 && !strcmp(w[0], "click")) { click(b); return 0; }
    else if (n == 2 && b >= 0 && !strcmp(w[0], "double-click")) { click(b); pause_ms(80); click(b); return 0; }
    else return fprintf(stderr, "virtual_pointer: not understood: %s\n", n ? w[0] : ""), 1;
    zwlr_virtual_pointer_v1_frame(pointer);
    return 0;
}

/* Runs a command and waits until the compositor has had it. */
static int step(char **w, int n) {
    if (n == 0) return 0;
    if (run(w, n) || wl_display_roundtrip(display) < 0) return 1;
    printf("ok\n");
    fflush(stdout);
    return 0;
}

int main(int argc, char **argv) {
    display = wl_display_connect(NULL);
    if (!display) return fprintf(stderr, "virtual_pointer: no Wayland display\n"), 1;
    wl_registry_add_listener(wl_display_get_registry(display), &registry_listener, NULL);
    wl_display_roundtrip(display);
    wl_display_roundtrip(display); /* the output's mode and scale */
    if (!manager) return fprintf(stderr, "virtual_pointer: the compositor has no virtual pointer\n"), 1;
    width /= scale; height /= scale;
    pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    char *w[4];
    int n = 0, failed = 0;
    if (argc > 1) {
        /* Arguments: a command is a name and the numbers or button after it. */
        for (int i = 1; i < argc && !failed; i++) {
            if (n && !strchr("-0123456789", argv[i][0]) && button_code(argv[i]) < 0) {
                failed = step(w, n); n = 0;
            }
            if (n < 4) w[n++] = argv[i];
        }
        failed = failed || step(w, n);
    } else {
        char line[256];
        while (!failed && fgets(line, sizeof line, stdin)) {
            n = 0;
            for (char *t = strtok(line, " \t\r\n"); t && n < 4; t = strtok(NULL, " \t\r\n")) w[n++] = t;
            failed = step(w, n);
        }
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return failed;
}
