#include "platform/win32/win32_registry.h"

#include <string>

#include <windows.h>

#include "platform/win32/utf16.h"

namespace qx::win32 {

namespace {

// An open key, closed when it goes.
class OpenKey {
public:
    // Read access only: the values are only read, and a user without
    // administrator rights can't open a key under HKEY_LOCAL_MACHINE for
    // writing, which would hide the key from them.
    explicit OpenKey(std::string_view keyPath) {
        std::wstring path;
        if (!toUtf16(keyPath, path)) return;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey() {
        if (key_ != nullptr) ::RegCloseKey(key_);
    }
    explicit operator bool() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

}  // namespace

bool Win32Registry::openKey(std::string_view keyPath) const { return static_cast<bool>(OpenKey(keyPath)); }

bool Win32Registry::queryValue(std::string_view keyPath, std::string_view valueName, RegistryValue& value) const {
    OpenKey key(keyPath);
    if (!key) return false;
    std::wstring name;
    if (!toUtf16(valueName, name)) return false;

    // Whole UTF-16 units, so a text of any length up to the buffer fits.
    wchar_t buffer[kQueryBufferBytes / sizeof(wchar_t)] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    value.type = type;
    if (isText(type)) {
        // An odd last byte is no whole character; it is dropped.
        value.data = toUtf8(std::wstring_view(buffer, size / sizeof(wchar_t)));
    } else {
        value.data.assign(reinterpret_cast<const char*>(buffer), size);
    }
    return true;
}

}  // namespace qx::win32
