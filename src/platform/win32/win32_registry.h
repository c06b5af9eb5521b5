// Reading values under HKEY_LOCAL_MACHINE through the W registry calls, the
// texts handed over in UTF-8.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/system.h"

namespace qx::win32 {

class Win32Registry {
public:
    // Values longer than this (in UTF-16 bytes) are reported absent: as text
    // they are over 1,024 bytes in any encoding, which the About box's
    // reading rejects anyway.
    static constexpr std::size_t kQueryBufferBytes = 4096;

    // True when the key can be opened for reading values.
    bool openKey(std::string_view keyPath) const;
    // The value's type and data. Texts (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)
    // come back in UTF-8, their NULs kept, so a stored closing NUL is still
    // the last byte; other types come back as stored. False when the key or
    // the value is absent, or the value is too long.
    bool queryValue(std::string_view keyPath, std::string_view valueName, RegistryValue& value) const;
};

}  // namespace qx::win32
