#include "platform/generic/figure_rules.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qx::generic {
namespace {

constexpr std::uint64_t kMax = ~std::uint64_t{0};

TEST(FigureRules, SumsAndDifferencesStopAtTheEnds) {
    struct Case { std::uint64_t a, b, sum, difference; };
    for (const Case& c : {Case{0, 0, 0, 0}, Case{7, 3, 10, 4}, Case{3, 7, 10, 0},
                          Case{kMax - 1, 1, kMax, kMax - 2}, Case{kMax - 1, 2, kMax, kMax - 3},
                          Case{kMax, kMax, kMax, 0}, Case{1, kMax, kMax, 0}}) {
        EXPECT_EQ(saturatingAdd(c.a, c.b), c.sum) << c.a << " + " << c.b;
        EXPECT_EQ(saturatingSub(c.a, c.b), c.difference) << c.a << " - " << c.b;
    }
}

TEST(FigureRules, LegacyFiguresStopBelow4GiB) {
    EXPECT_EQ(legacyFigure(4294967295u), 4294967295u);
    EXPECT_EQ(legacyFigure(4294967296u), 4294967295u);  // would wrap to 0
    const MemoryStatus s = capToLegacy({1, 2, 3, 4, 8589934593u, kMax});  // 8 GiB + 1 would be 1
    EXPECT_EQ(std::tie(s.totalPhys, s.availPhys, s.totalPageFile, s.availPageFile, s.totalVirtual,
                       s.availVirtual),
              std::make_tuple(1u, 2u, 3u, 4u, 4294967295u, 4294967295u));
}

TEST(FigureRules, ATimeThatFellKeepsItsPreviousValue) {
    NonDecreasingTimes held, other;
    other.next({1000, 1000, 1000});  // each keeps its own history
    const auto expect = [&](SystemTimes read, SystemTimes want) {
        const SystemTimes s = held.next(read);
        EXPECT_EQ(std::tie(s.idle, s.kernel, s.user), std::tie(want.idle, want.kernel, want.user));
    };
    expect({100, 200, 300}, {100, 200, 300});
    expect({95, 198, 310}, {100, 200, 310});  // idle and kernel fell, user rose
    expect({99, 205, 315}, {100, 205, 315});  // idle still held, kernel moves on
    expect({104, 210, 320}, {104, 210, 320});  // the real count passed the held one
}

}  // namespace
}  // namespace qx::generic
