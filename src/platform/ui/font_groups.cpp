#include "platform/ui/font_groups.h"

#include <algorithm>

namespace qx::ui {

FontGroups::Member& FontGroups::memberFor(const Control& label) {
    Member& member = members_[&label];
    member.form = &label.form();
    member.group = label.fontGroup;
    return member;
}

void FontGroups::join(const Control& label, std::function<void()> redraw) {
    memberFor(label).redraw = std::move(redraw);
}

void FontGroups::leave(const Form& form) {
    std::erase_if(members_, [&form](const auto& entry) { return entry.second.form == &form; });
}

double FontGroups::groupShare(const Control& label) const {
    if (label.fontGroup == 0) {
        const auto found = members_.find(&label);
        return found == members_.end() ? 1.0 : found->second.ownShare;
    }
    double share = 1.0;
    for (const auto& [control, member] : members_) {
        const bool sameGroup = member.group == label.fontGroup && member.form == &label.form();
        if (control == &label || sameGroup) share = std::min(share, member.ownShare);
    }
    return share;
}

void FontGroups::measured(const Control& label, double ownShare) {
    Member& self = memberFor(label);
    if (self.ownShare == ownShare) return;
    if (label.fontGroup == 0) {
        self.ownShare = ownShare;
        return;
    }
    const double before = groupShare(label);
    self.ownShare = ownShare;
    if (groupShare(label) == before) return;
    for (const auto& [control, member] : members_) {
        const bool peer = control != &label && member.group == label.fontGroup && member.form == &label.form();
        if (peer && member.redraw) member.redraw();
    }
}

double FontGroups::shownShare(const Control& label) const { return groupShare(label); }

}  // namespace qx::ui
