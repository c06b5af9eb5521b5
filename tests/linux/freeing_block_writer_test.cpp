#include "platform/linux/block_writer.h"

#include <cstddef>
#include <vector>

#include <gtest/gtest.h>

namespace qx::linuxos {
namespace {

constexpr char16_t kUntouched = 0xABCD;
constexpr std::size_t kGuard = 64;

using Writer = void (*)(char16_t*, std::size_t) noexcept;

// Writes `count` spaces `offset` characters into a buffer of sentinels and
// checks that exactly those characters changed. Returns the first wrong
// index relative to the write, or -1 when all is right.
long firstWrong(Writer write, std::size_t offset, std::size_t count) {
    std::vector<char16_t> buffer(kGuard + offset + count + kGuard, kUntouched);
    char16_t* const first = buffer.data() + kGuard + offset;
    write(first, count);
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const bool inside = i >= kGuard + offset && i < kGuard + offset + count;
        if (buffer[i] != (inside ? u' ' : kUntouched)) {
            return static_cast<long>(i) - static_cast<long>(kGuard + offset);
        }
    }
    return -1;
}

class WriterTest : public ::testing::TestWithParam<Writer> {};

TEST_P(WriterTest, WritesExactlyTheSpacesAskedForAtEveryAlignment) {
    // Every start within a 16-byte vector and every length up to several
    // rounds of the vector loop, so heads, bodies and tails all get cut.
    for (std::size_t offset = 0; offset < 16; ++offset) {
        for (std::size_t count = 0; count <= 300; ++count) {
            ASSERT_EQ(firstWrong(GetParam(), offset, count), -1)
                << "offset " << offset << ", count " << count;
        }
    }
}

TEST_P(WriterTest, WritesALargeOddRunCompletely) {
    const std::size_t count = (std::size_t{1} << 20) + 7;
    EXPECT_EQ(firstWrong(GetParam(), 3, count), -1);
    EXPECT_EQ(firstWrong(GetParam(), 8, count), -1);
}

TEST_P(WriterTest, WritesTheSpaceCharacterItself) {
    char16_t pair[2] = {0, 0};
    GetParam()(pair, 1);
    EXPECT_EQ(pair[0], 0x0020);
    EXPECT_EQ(pair[1], 0);
}

INSTANTIATE_TEST_SUITE_P(Writers, WriterTest,
                         ::testing::Values(&writeSpaces, &writeSpacesPortable),
                         [](const auto& info) {
                             return info.param == &writeSpaces ? "Fast" : "Portable";
                         });

}  // namespace
}  // namespace qx::linuxos
