#include "platform/ui/font_groups.h"

#include <algorithm>

namespace qx::ui {

namespace {

bool sameGroup(const Control& a, const Control& b) {
    return a.fontGroup != 0 && a.fontGroup == b.fontGroup && &a.form() == &b.form();
}

}  // namespace

void FontGroups::join(const Control& label, std::function<void()> redraw) {
    members_[&label].redraw = std::move(redraw);
}

double FontGroups::groupShare(const Control& label) const {
    double share = 1.0;
    for (const auto& [control, member] : members_) {
        if (control == &label || sameGroup(*control, label)) share = std::min(share, member.ownShare);
    }
    return share;
}

void FontGroups::measured(const Control& label, double ownShare) {
    Member& self = members_[&label];
    if (self.ownShare == ownShare) return;
    const double before = groupShare(label);
    self.ownShare = ownShare;
    if (label.fontGroup == 0 || groupShare(label) == before) return;
    for (const auto& [control, member] : members_) {
        if (control != &label && sameGroup(*control, label) && member.redraw) member.redraw();
    }
}

double FontGroups::shownShare(const Control& label) const { return groupShare(label); }

}  // namespace qx::ui
