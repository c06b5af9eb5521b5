// Labels of one size group are drawn at the smallest share any of them
// needs; the others of the group are redrawn when that share changes.
#include <gtest/gtest.h>

#include "platform/ui/font_groups.h"

namespace qx::ui {
namespace {

struct Captions : Form {
    Captions() : Form("frmCaptions") { total.fontGroup = used.fontGroup = 1; }
    Control total{*this, "total", Kind::Label, nullptr, 0, 0, 495, 255};
    Control used{*this, "used", Kind::Label, nullptr, 0, 300, 495, 255};
    Control figure{*this, "figure", Kind::Label, nullptr, 600, 0, 1035, 255};
};

TEST(FontGroups, AGroupTakesTheSmallestShareAndRedrawsItsOthersWhenThatChanges) {
    Captions a, b;
    FontGroups groups;
    int usedRedrawn = 0, figureRedrawn = 0, otherFormRedrawn = 0;
    groups.join(a.used, [&] { ++usedRedrawn; });
    groups.join(a.figure, [&] { ++figureRedrawn; });
    groups.join(b.used, [&] { ++otherFormRedrawn; });
    groups.measured(a.total, 0.8);
    groups.measured(a.figure, 0.9);
    EXPECT_EQ(groups.shownShare(a.used), 0.8);
    EXPECT_EQ(groups.shownShare(a.total), 0.8);
    EXPECT_EQ(groups.shownShare(a.figure), 0.9) << "no group: its own need";
    EXPECT_EQ(groups.shownShare(b.used), 1.0) << "a group is one form's";
    EXPECT_EQ(usedRedrawn, 1);
    EXPECT_EQ(figureRedrawn + otherFormRedrawn, 0);
    groups.measured(a.used, 0.85);  // the group still needs 0.8
    EXPECT_EQ(usedRedrawn, 1);
    groups.leave(a);
    EXPECT_EQ(groups.shownShare(a.used), 1.0);
}

}  // namespace
}  // namespace qx::ui
