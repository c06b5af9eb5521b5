#include "platform/ui/view_sync.h"

#include <string_view>

namespace qx::ui {

namespace {

// Stores `now` in `last` and says whether the backend must hear of it.
template <typename T>
bool Changed(T& last, const T& now, bool all) {
    if (!all && last == now) return false;
    last = now;
    return true;
}

}  // namespace

PixelRect ControlSync::geometry(double twipsPerPixel) const {
    return twipsRectToPixels(control_.leftTwips(), control_.topTwips(), control_.widthTwips(),
                             control_.heightTwips(), twipsPerPixel);
}

ControlAtCreation ControlSync::creation(double twipsPerPixel) {
    made_ = true;
    geometry_ = geometry(twipsPerPixel);
    visible_ = control_.visible();
    caption_ = control_.caption();
    return {geometry_, visible_, caption_};
}

void ControlSync::sync(ControlChanges& changes, double twipsPerPixel) {
    if (applied_ && control_.revision() == revision_ && twipsPerPixel == twipsPerPixel_) return;
    const bool all = !applied_;
    const bool allButMade = all && !made_;
    applied_ = true;
    revision_ = control_.revision();
    twipsPerPixel_ = twipsPerPixel;

    if (Changed(geometry_, geometry(twipsPerPixel), allButMade)) changes.setGeometry(geometry_);
    if (Changed(visible_, control_.visible(), allButMade)) changes.setVisible(visible_);
    if (Changed(enabled_, control_.enabled(), all)) changes.setEnabled(enabled_);
    if (Changed(caption_, control_.caption(), allButMade)) changes.setCaption(caption_);
    if (Changed(backColor_, control_.backColor(), all)) changes.setBackColor(backColor_);
    if (Changed(foreColor_, control_.foreColor(), all)) changes.setForeColor(foreColor_);
    if (Changed(border_, control_.border, all)) changes.setBorder(border_);
    if (Changed(picture_, control_.picture, all)) changes.setPicture(picture_);

    if (control_.accessibleName.empty() && !all) return;
    // Compared in place, so that an unchanged name costs no new string.
    const bool withCaption = !control_.accessibleName.empty() && control_.kind() == Kind::Label;
    const std::string_view caption = withCaption ? std::string_view(control_.caption()) : std::string_view();
    const std::string_view joiner = withCaption ? ": " : "";
    const std::string_view held = accessibleName_;
    bool accessible = all || held.size() != control_.accessibleName.size() + joiner.size() + caption.size() ||
                      !held.starts_with(control_.accessibleName) || !held.ends_with(caption) ||
                      held.substr(control_.accessibleName.size(), joiner.size()) != joiner;
    if (accessible) accessibleName_.assign(control_.accessibleName).append(joiner).append(caption);
    accessible = Changed(accessibleDescription_, control_.accessibleDescription(), all) || accessible;
    accessible = Changed(accessibleValue_, control_.accessibleValue(), all) || accessible;
    if (accessible) changes.setAccessible(accessibleName_, accessibleDescription_, accessibleValue_);
}

void MenuSync::sync(MenuChanges& changes) {
    if (applied_ && item_.revision() == revision_) return;
    const bool all = !applied_;
    applied_ = true;
    revision_ = item_.revision();

    if (!item_.separator() && Changed(caption_, item_.caption(), all)) changes.setCaption(caption_);
    if (Changed(checked_, item_.checked(), all)) changes.setChecked(checked_);
    if (Changed(enabled_, item_.enabled(), all)) changes.setEnabled(enabled_);
    if (Changed(visible_, item_.visible(), all)) changes.setVisible(visible_);
}

void FormSync::sync(FormChanges& changes, double twipsPerPixel) {
    const bool all = !applied_;
    applied_ = true;
    if (Changed(caption_, form_.caption(), all)) changes.setCaption(caption_);
    // Sizes and places are compared in twips: a new DPI alone moves nothing.
    if (clientWidth_ != form_.scaleWidth() || clientHeight_ != form_.scaleHeight()) {
        clientWidth_ = form_.scaleWidth();
        clientHeight_ = form_.scaleHeight();
        changes.setClientSize(twipsToPixels(clientWidth_, twipsPerPixel), twipsToPixels(clientHeight_, twipsPerPixel));
    }
    const bool placed = shownOnce_ || !placedByBackend_;
    if (placed && (left_ != form_.left() || top_ != form_.top())) {
        left_ = form_.left();
        top_ = form_.top();
        changes.setPosition(twipsToPixels(left_, twipsPerPixel), twipsToPixels(top_, twipsPerPixel));
    }
    if (Changed(enabled_, form_.enabled(), all)) changes.setEnabled(enabled_);
    if (Changed(state_, form_.windowState(), all)) changes.setWindowState(state_);
    if (Changed(visible_, form_.visible(), all)) {
        shownOnce_ = shownOnce_ || visible_;
        changes.setVisible(visible_);
    }
}

void FormSync::placeTaken() {
    clientWidth_ = form_.scaleWidth();
    clientHeight_ = form_.scaleHeight();
    left_ = form_.left();
    top_ = form_.top();
}

}  // namespace qx::ui
