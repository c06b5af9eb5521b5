#include "platform/qt/x11_desktop.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <xcb/xcb.h>

namespace qx::qt {

namespace {

xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

}  // namespace

bool xembedTrayPresent() {
    xcb_connection_t* connection = x11Connection();
    if (!connection) return false;
    static xcb_atom_t selection = XCB_ATOM_NONE;
    if (selection == XCB_ATOM_NONE) {
        static constexpr char kName[] = "_NET_SYSTEM_TRAY_S0";
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
        if (!atom) return false;
        selection = atom->atom;
        std::free(atom);
    }
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
    const bool present = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return present;
}

void clearIconicStartHint(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || !window.testAttribute(Qt::WA_WState_Created)) return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, 9), nullptr);
    if (!reply) return;
    // flags, input, initial_state, ...: StateHint is bit 1, IconicState 3.
    auto* hints = static_cast<std::uint32_t*>(xcb_get_property_value(reply));
    constexpr std::uint32_t kStateHint = 1u << 1;
    constexpr std::uint32_t kIconic = 3;
    constexpr std::uint32_t kNormal = 1;
    if (reply->format == 32 && reply->value_len >= 3 && (hints[0] & kStateHint) && hints[2] == kIconic) {
        hints[2] = kNormal;
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32,
                            reply->value_len, hints);
    }
    std::free(reply);
}

}  // namespace qx::qt
