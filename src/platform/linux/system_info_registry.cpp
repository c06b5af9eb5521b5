#include "platform/linux/system_info_registry.h"

#include <sys/stat.h>
#include <unistd.h>

namespace qx::linuxos {

namespace {
constexpr std::string_view kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view kToolValue = "PATH";
constexpr std::uint32_t kRegSz = 1;
}  // namespace

const std::vector<std::string>& SystemInfoRegistry::knownTools() {
    static const std::vector<std::string> tools = {
        "hardinfo2",          "hardinfo",           "gnome-system-monitor", "plasma-systemmonitor",
        "ksysguard",          "mate-system-monitor", "xfce4-taskmanager",   "lxtask"};
    return tools;
}

SystemInfoRegistry::SystemInfoRegistry(std::string_view pathVariable,
                                       bool (*isExecutable)(const std::string&)) {
    for (const std::string& tool : knownTools()) {
        std::string_view rest = pathVariable;
        while (toolPath_.empty()) {
            const std::size_t colon = rest.find(':');
            std::string_view folder = rest.substr(0, colon);
            // Only absolute folders: an empty or relative entry would mean
            // the current directory, which is no place to find a system tool.
            if (!folder.empty() && folder.front() == '/') {
                std::string candidate(folder);
                if (candidate.back() != '/') candidate.push_back('/');
                candidate += tool;
                if (isExecutable(candidate)) toolPath_ = std::move(candidate);
            }
            if (colon == std::string_view::npos) break;
            rest.remove_prefix(colon + 1);
        }
        if (!toolPath_.empty()) break;
    }
}

bool SystemInfoRegistry::openKey(std::string_view keyPath) const {
    return !toolPath_.empty() && keyPath == kToolKey;
}

bool SystemInfoRegistry::queryValue(std::string_view keyPath, std::string_view valueName,
                                    RegistryValue& value) const {
    if (!openKey(keyPath) || valueName != kToolValue) return false;
    value.type = kRegSz;
    value.data = toolPath_;
    value.data.push_back('\0');
    return true;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace qx::linuxos
