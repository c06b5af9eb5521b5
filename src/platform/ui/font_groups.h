// Labels of one size group ("Total:", "Used:" and "Free:") are all drawn
// at the smallest size any of them needs to fit its text; a label without
// a group at the size its own text needs. Backends measure; the size each
// label is drawn at is worked out here.
#pragma once

#include <functional>
#include <map>

#include "platform/ui/model.h"

namespace qx::ui {

class FontGroups {
public:
    // `redraw` is called when the size `label` is drawn at changes because
    // another label of its group needs a different one.
    void join(const Control& label, std::function<void()> redraw);
    // The label, or every label of the form, is gone.
    void leave(const Control& label) { members_.erase(&label); }
    void leave(const Form& form);
    // Records the share of its normal font size `label`'s own text needs
    // (ui::FontScaleToFit); the other labels of its group are redrawn when
    // the share their group is drawn at changes.
    void measured(const Control& label, double ownShare);
    // The share of its normal font size `label` is drawn at.
    double shownShare(const Control& label) const;

private:
    // What is needed of a label is copied here: a window may outlive its form.
    struct Member {
        const Form* form = nullptr;
        int group = 0;
        double ownShare = 1.0;
        std::function<void()> redraw;
    };
    Member& memberFor(const Control& label);
    double groupShare(const Control& label) const;

    std::map<const Control*, Member> members_;
};

}  // namespace qx::ui
