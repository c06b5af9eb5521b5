// Writes and removes values under HKEY_LOCAL_MACHINE of the test prefix.
#pragma once

#include <string>

#include <windows.h>

namespace qx::win32 {

inline bool writeValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
                       DWORD bytes) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG result = ::RegSetValueExW(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
    ::RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

// A text stored with its closing NUL, as programs normally write it.
inline bool writeText(const std::wstring& key, const std::wstring& name, const std::wstring& text,
                      DWORD type = REG_SZ) {
    return writeValue(key, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline void removeKey(const std::wstring& key) { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str()); }

}  // namespace qx::win32
