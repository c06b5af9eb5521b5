// The About box's services on Linux: the registry is looked for on the PATH
// of the first lookup, and the file check takes only regular files.
#include "platform/linux/linux_shell_services.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace qx::linuxos {
namespace {

struct TempFolder {
    std::string path;
    TempFolder() {
        char name[] = "/tmp/qx-shell-XXXXXX";
        path = ::mkdtemp(name) ? name : "";
    }
    ~TempFolder() {
        std::remove((path + "/tool").c_str());
        std::remove((path + "/" + SystemInfoRegistry::knownTools().front()).c_str());
        ::rmdir(path.c_str());
    }
    std::string make(const std::string& name, bool executable) const {
        const std::string file = path + "/" + name;
        std::ofstream(file) << "#!/bin/sh\n";
        ::chmod(file.c_str(), executable ? 0755 : 0644);
        return file;
    }
};

struct PathGuard {
    std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    explicit PathGuard(const std::string& path) { ::setenv("PATH", path.c_str(), 1); }
    ~PathGuard() { ::setenv("PATH", saved.c_str(), 1); }
};

TEST(LinuxShellServices, FileExistsOnlyForRegularFiles) {
    TempFolder folder;
    ASSERT_FALSE(folder.path.empty());
    const std::string file = folder.make("tool", false);
    EXPECT_TRUE(LinuxShellServices().fileExists(file));
    EXPECT_FALSE(LinuxShellServices().fileExists(folder.path));
    EXPECT_FALSE(LinuxShellServices().fileExists(folder.path + "/missing"));
    EXPECT_FALSE(LinuxShellServices().fileExists(""));
}

TEST(LinuxShellServices, TheToolIsLookedForOnThePathOfTheFirstLookup) {
    TempFolder folder;
    ASSERT_FALSE(folder.path.empty());
    const std::string tool = folder.make(SystemInfoRegistry::knownTools().front(), true);
    const char* key = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    LinuxShellServices services;
    {
        PathGuard path(folder.path);  // set after the services were made
        RegistryValue value;
        ASSERT_TRUE(services.regOpenKey(key));
        ASSERT_TRUE(services.regQueryValue(key, "PATH", value));
        EXPECT_EQ(value.data, tool + std::string(1, '\0'));
    }
    // Found once: a later PATH changes nothing.
    PathGuard empty("");
    RegistryValue value;
    EXPECT_TRUE(services.regQueryValue(key, "PATH", value));
    LinuxShellServices fresh;
    EXPECT_FALSE(fresh.regOpenKey(key));
}

}  // namespace
}  // namespace qx::linuxos
