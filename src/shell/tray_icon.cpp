// The notification-area icon: added at start, switched to the warning image
// while less than five per cent of physical memory is free, and the way back
// to a hidden window (double-click, or the pop-up menu on a right click);
// and the ways into the area: "Hide to system tray" and a double-click on
// the window.
#include "about/frm_about.h"
#include "mainwindow/frm_main.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/numbers.h"

namespace qx {

namespace {
constexpr int kLeftDoubleClick = 515;
constexpr int kRightButtonUp = 517;
constexpr int kStandardTwipsPerPixel = 15;
}  // namespace

void FrmMain::AddTrayIcon() {
    TrayData.cbSize = 88;
    TrayData.uID = 1;
    TrayData.uFlags = 7;
    TrayData.uCallbackMessage = 512;
    TrayIcon.setPicture(icon);
    TrayData.hIcon = TrayIcon.picture;
    TrayData.szTip = "Quendax";
    TrayData.szTip.push_back('\0');
    TrayData.szTip.append(56, ' ');
    if (!system_.notifyIcon(TrayMessage::Add, trayImageOf(TrayData), "Quendax")) {
        // Hiding the window now would lose it for good: from here on every
        // way of hiding it minimizes it instead.
        trayAvailable_ = false;
        system_.warn("quendax: no notification area was found; the window will be minimized instead of hidden");
    }
}

void FrmMain::TrayIconAddedAgain() {
    trayAvailable_ = true;
    if (windowState() != ui::kMinimized) return;
    // So that the icon's double-click and "&Show" bring it back.
    skipOnError([&] { mnuShow.setCaption("&Show"); });
    skipOnError([&] { hide(); });
}

void FrmMain::UpdateTrayIcon() {
    const double limit = MemInfo.TotalPhysical / 100 * 5;
    const std::string& wanted = limit > MemInfo.FreePhysical ? TrayWarn.picture : TrayIcon.picture;
    if (wanted == TrayData.hIcon) return;
    TrayData.hIcon = wanted;
    system_.notifyIcon(TrayMessage::Modify, trayImageOf(TrayData), "Quendax");
}

void FrmMain::TrayIcon_MouseMove(int /*button*/, int /*shift*/, float x, float /*y*/) {
    // The platform puts the mouse message in place of X, converted to twips.
    // Divide back by the screen's own twips per pixel so the icon answers at
    // every density, then decode as at the standard density.
    const double tpp = twipsPerPixel();
    const std::int32_t code = tpp > 0 ? CLngOr(x / tpp, 0) : 0;
    const std::int32_t key = static_cast<std::int32_t>(
        ((static_cast<std::int64_t>(code) * kStandardTwipsPerPixel) & 255) * 256);
    if (key == ((kLeftDoubleClick * kStandardTwipsPerPixel) & 255) * 256) {
        skipOnError([&] { mnuShow_Click(); });
    } else if (key == ((kRightButtonUp * kStandardTwipsPerPixel) & 255) * 256) {
        skipOnError([&] { mnuShow.setCaption(visible() ? "&Hide" : "&Show"); });
        skipOnError([&] {
            if (host) host->popupMenu(mnuPopUp);
        });
    }
}

void FrmMain::mnuShow_Click() {
    if (mnuShow.caption() == "&Show") {
        skipOnError([&] { unloadAbout(); });
        skipOnError([&] { mnuShow.setCaption("&Hide"); });
        skipOnError([&] { setWindowState(ui::kNormal); });
        skipOnError([&] { show(); });
    } else if (mnuShow.caption() == "&Hide") {
        skipOnError([&] { unloadAbout(); });
        skipOnError([&] { mnuShow.setCaption("&Show"); });
        skipOnError([&] { HideToTray(); });
    }
}

void FrmMain::mnuToTray_Click() {
    skipOnError([&] { mnuShow.setCaption("&Hide"); });
    skipOnError([&] { mnuShow_Click(); });
}

void FrmMain::Form_DblClick() { HideToTray(); }

void FrmMain::TrayHost_Change(bool present) {
    if (present) {
        // A new notification area: the icon goes in again, as at start, and
        // hiding hides again. Whoever read that hiding would minimize is told.
        const bool wasMissing = !trayAvailable_;
        trayAvailable_ = true;
        bool added = false;
        skipOnError([&] { added = system_.notifyIcon(TrayMessage::Add, trayImageOf(TrayData), "Quendax"); });
        if (wasMissing && added) {
            system_.warn("quendax: a notification area came; the icon is in it, and hiding hides the window again");
        }
        return;
    }
    // Without the icon a hidden window could not be reached: it comes back,
    // minimized, and every way of hiding minimizes until an area comes.
    trayAvailable_ = false;
    if (visible()) return;
    skipOnError([&] { mnuShow.setCaption("&Hide"); });
    skipOnError([&] { setWindowState(ui::kMinimized); });
    skipOnError([&] { show(); });
    system_.warn(
        "quendax: the notification area went away while the window was hidden; the window is back, minimized");
}

void FrmMain::HideToTray() {
    if (trayAvailable_) {
        hide();
    } else {
        setWindowState(ui::kMinimized);
    }
}

}  // namespace qx
