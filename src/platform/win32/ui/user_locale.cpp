#include "platform/win32/ui/user_locale.h"

#include <windows.h>

#include "platform/win32/utf16.h"

namespace qx::win32ui {

std::string userGroupSeparator() {
    wchar_t separator[8] = {};
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
    if (length <= 1) return {};
    return win32::toUtf8(std::wstring_view(separator, static_cast<std::size_t>(length - 1)));
}

}  // namespace qx::win32ui
