// The About box's system services on Linux: the small registry that says
// where the system-information tool is (looked for on the PATH at the first
// lookup, not at start) and whether a file is there.
#pragma once

#include <optional>
#include <string_view>

#include "platform/linux/system_info_registry.h"
#include "platform/system.h"

namespace qx::linuxos {

class LinuxShellServices final : public LookupSystem {
public:
    bool regOpenKey(std::string_view keyPath) override;
    bool regQueryValue(std::string_view keyPath, std::string_view valueName, RegistryValue& value) override;
    // True for a regular file (or a link to one).
    bool fileExists(std::string_view path) override;

private:
    const SystemInfoRegistry& registry();
    std::optional<SystemInfoRegistry> registry_;
};

}  // namespace qx::linuxos
