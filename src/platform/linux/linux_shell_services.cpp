#include "platform/linux/linux_shell_services.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace qx::linuxos {

const SystemInfoRegistry& LinuxShellServices::registry() {
    if (!registry_) {
        const char* path = std::getenv("PATH");
        registry_.emplace(path ? path : "", IsExecutableFile);
    }
    return *registry_;
}

bool LinuxShellServices::regOpenKey(std::string_view keyPath) { return registry().openKey(keyPath); }

bool LinuxShellServices::regQueryValue(std::string_view keyPath, std::string_view valueName,
                                       RegistryValue& value) {
    return registry().queryValue(keyPath, valueName, value);
}

bool LinuxShellServices::fileExists(std::string_view path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(std::string(path)), error);
}

}  // namespace qx::linuxos
