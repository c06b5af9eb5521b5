#include "platform/linux/system_info_registry.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <set>

namespace qx::linuxos {
namespace {

std::set<std::string>* installed = nullptr;
bool FakeExecutable(const std::string& path) { return installed->count(path) != 0; }

struct RegistryTest : ::testing::Test {
    std::set<std::string> files;
    void SetUp() override { installed = &files; }
    void TearDown() override { installed = nullptr; }
};

TEST_F(RegistryTest, NamesTheFirstKnownToolOnThePath) {
    files = {"/usr/bin/lxtask", "/opt/gnome/bin/gnome-system-monitor", "/usr/local/bin/lxtask"};
    SystemInfoRegistry registry("/usr/local/bin:/usr/bin:/opt/gnome/bin", FakeExecutable);
    EXPECT_EQ(registry.toolPath(), "/opt/gnome/bin/gnome-system-monitor");
    RegistryValue value;
    ASSERT_TRUE(registry.queryValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", value));
    EXPECT_EQ(value.type, 1u);
    EXPECT_EQ(value.data, std::string("/opt/gnome/bin/gnome-system-monitor\0", 36));
}

TEST_F(RegistryTest, TheEarlierFolderWinsForTheSameTool) {
    files = {"/usr/bin/lxtask", "/usr/local/bin/lxtask"};
    SystemInfoRegistry registry("/usr/local/bin/:/usr/bin", FakeExecutable);
    EXPECT_EQ(registry.toolPath(), "/usr/local/bin/lxtask");
}

TEST_F(RegistryTest, HasNothingElse) {
    files = {"/usr/bin/hardinfo"};
    SystemInfoRegistry registry("/usr/bin", FakeExecutable);
    RegistryValue value;
    EXPECT_TRUE(registry.openKey("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"));
    EXPECT_FALSE(registry.queryValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "OTHER", value));
    EXPECT_FALSE(registry.openKey("SOFTWARE\\Microsoft\\Shared Tools Location"));
    EXPECT_FALSE(registry.queryValue("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", value));
}

TEST_F(RegistryTest, WithoutAToolOrWithOnlyRelativeFoldersNothingIsThere) {
    files = {"bin/hardinfo", "/usr/bin/top"};
    SystemInfoRegistry registry(":bin:/usr/bin:", FakeExecutable);
    EXPECT_EQ(registry.toolPath(), "");
    EXPECT_FALSE(registry.openKey("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"));
    SystemInfoRegistry empty("", FakeExecutable);
    EXPECT_EQ(empty.toolPath(), "");
}

TEST(IsExecutableFile, TellsProgramsFromFoldersAndPlainFiles) {
    char folder[] = "/tmp/qx-registry-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string program = std::string(folder) + "/tool";
    const std::string text = std::string(folder) + "/notes";
    for (const auto& [path, mode] : {std::pair{program, 0755}, std::pair{text, 0644}}) {
        std::FILE* f = std::fopen(path.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    }
    EXPECT_TRUE(IsExecutableFile(program));
    EXPECT_FALSE(IsExecutableFile(text));
    EXPECT_FALSE(IsExecutableFile(folder));
    EXPECT_FALSE(IsExecutableFile(std::string(folder) + "/missing"));
    std::remove(program.c_str());
    std::remove(text.c_str());
    ::rmdir(folder);
}

}  // namespace
}  // namespace qx::linuxos
