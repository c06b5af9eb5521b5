// The version record linked into the Windows programs.
#include <gtest/gtest.h>

#include "platform/win32/version_resource.h"

namespace qx::win32 {
namespace {

TEST(VersionResource, ReadsTheProgramsOwnVersion) {
    ProgramVersion version;
    ASSERT_TRUE(readProgramVersion(version));
    EXPECT_EQ(version.major, 3u);
    EXPECT_EQ(version.minor, 1u);
    EXPECT_EQ(version.build, 0u);
    EXPECT_EQ(version.revision, 3u);
}

}  // namespace
}  // namespace qx::win32
