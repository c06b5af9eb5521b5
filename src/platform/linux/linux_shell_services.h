// The About box's system services on Linux: the small registry that says
// where the system-information tool is (looked for on the PATH at the first
// lookup, not at start) and whether a file is there.
#pragma once

#include <optional>
#include <string_view>

#include "platform/linux/system_info_registry.h"
#include "platform/system.h"

namespace qx {

class LinuxShellServices {
public:
    bool regOpenKey(std::string_view keyPath);
    bool regQueryValue(std::string_view keyPath, std::string_view valueName, RegistryValue& value);
    // True for a regular file (or a link to one).
    static bool fileExists(std::string_view path);

private:
    const SystemInfoRegistry& registry();
    std::optional<SystemInfoRegistry> registry_;
};

}  // namespace qx
