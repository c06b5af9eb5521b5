/* A real pointer for the desktop tests on sway: wlroots' virtual pointer,
 * driven by one command a line on the standard input:
 *   move-abs X Y                 to X, Y in the output's logical pixels
 *   click|double-click BUTTON    left, right or middle (80 ms between two)
 * After each one "ok" is printed once the compositor has had it. The device
 * lives as long as the program: keep one for a whole sequence. Build:
 *   wayland-scanner client-header wlr-virtual-pointer-unstable-v1.xml vp.h
 *   wayland-scanner private-code wlr-virtual-pointer-unstable-v1.xml vp.c
 *   cc -I. -o virtual_pointer virtual_pointer.c vp.c -lwayland-client */
#define _POSIX_C_SOURCE 200809L
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>
#include "vp.h"

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
    if (!strcmp(name, "left")) return BTN_LEFT;
    if (!strcmp(name, "right")) return BTN_RIGHT;
    return strcmp(name, "middle") ? -1 : BTN_MIDDLE;
}
static void button(int code, uint32_t state) {
    zwlr_virtual_pointer_v1_button(pointer, now(), code, state);
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_flush(display);
}
static void click(int code) {
    button(code, WL_POINTER_BUTTON_STATE_PRESSED);
    pause_ms(20);
    button(code, WL_POINTER_BUTTON_STATE_RELEASED);
}

/* One command, its words in w (n of them); 0 when it was understood. */
static int run(char **w, int n) {
    int b = n == 2 ? button_code(w[1]) : -1;
    if (n == 3 && !strcmp(w[0], "move-abs") && width > 0 && height > 0) {
        zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), atoi(w[1]), atoi(w[2]), width, height);
        zwlr_virtual_pointer_v1_frame(pointer);
    } else if (b >= 0 && !strcmp(w[0], "click")) {
        click(b);
    } else if (b >= 0 && !strcmp(w[0], "double-click")) {
        click(b);
        pause_ms(80);
        click(b);
    } else {
        return fprintf(stderr, "virtual_pointer: not understood: %s\n", n ? w[0] : ""), 1;
    }
    return 0;
}

int main(void) {
    display = wl_display_connect(NULL);
    if (!display) return fprintf(stderr, "virtual_pointer: no Wayland display\n"), 1;
    wl_registry_add_listener(wl_display_get_registry(display), &registry_listener, NULL);
    wl_display_roundtrip(display);
    wl_display_roundtrip(display); /* the output's mode and scale */
    if (!manager) return fprintf(stderr, "virtual_pointer: the compositor has no virtual pointer\n"), 1;
    width /= scale; height /= scale;
    pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    char line[256], *w[4];
    int failed = 0;
    while (!failed && fgets(line, sizeof line, stdin)) {
        int n = 0;
        for (char *t = strtok(line, " \t\r\n"); t && n < 4; t = strtok(NULL, " \t\r\n")) w[n++] = t;
        failed = n > 0 && (run(w, n) || wl_display_roundtrip(display) < 0);
        if (n > 0 && !failed) printf("ok\n"), fflush(stdout);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return failed;
}
