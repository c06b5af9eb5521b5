// Linux has no registry. This small read-only one answers the one lookup the
// About box needs: where the system-information tool is. It names the first
// such tool installed on the PATH, and has nothing else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace qx::linuxos {

class SystemInfoRegistry {
public:
    // Tools tried in this order.
    static const std::vector<std::string>& knownTools();

    // `pathVariable` is a PATH-style list of folders; `isExecutable` tells
    // whether a full path names a program that can be run.
    SystemInfoRegistry(std::string_view pathVariable, bool (*isExecutable)(const std::string&));

    bool openKey(std::string_view keyPath) const;
    bool queryValue(std::string_view keyPath, std::string_view valueName, RegistryValue& value) const;

    // The full path of the tool found ("" when none is installed).
    const std::string& toolPath() const { return toolPath_; }

private:
    std::string toolPath_;
};

// True for a regular file the user may execute.
bool IsExecutableFile(const std::string& path);

}  // namespace qx::linuxos
