#include "platform/win32/backend/main_window_start.h"

#include <windows.h>

#include "platform/win32/backend/win32_window_host.h"
#include "platform/win32/utf16.h"

namespace qx::win32 {

namespace {

// The user's digit-group separator ("" when the locale gives none).
std::string userGroupSeparator() {
    wchar_t separator[8] = {};
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
    if (length <= 1) return {};
    return toUtf8(std::wstring_view(separator, static_cast<std::size_t>(length - 1)));
}

}  // namespace

void startMainWindow(Backend& backend, FrmMain& main, MainWindowEvents& events) {
    events.prepare(userGroupSeparator(), backend.windows().screenTwipsPerPixel());
    backend.attach(main);

    backend.setCloseBox([&events](ui::Form& form) { events.closeBox(form); });
    // Menu shortcuts go through the accelerator table; only the About box's
    // Enter and Esc come here.
    backend.setKeyHandler([&events](ui::Form& form, std::string_view key) { return events.windowKey(form, key); });
    backend.setTrayHandler([&events](int code) { events.trayMessage(code); });
    backend.setTrayAddedAgain([&events] { events.trayAddedAgain(); });

    // Windows paints a window as it first appears.
    events.start(backend.dispatcher(), FirstPaint::ByWindowSystem);
}

}  // namespace qx::win32
