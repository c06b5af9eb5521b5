#include "platform/ui/model.h"

#include <algorithm>

namespace qx::ui {

// ---- Control ---------------------------------------------------------------

Control::Control(Form& form, std::string name, Kind kind, Control* container, double left,
                 double top, double width, double height)
    : form_(form),
      name_(std::move(name)),
      kind_(kind),
      container_(container),
      left_(left),
      top_(top),
      width_(width),
      height_(height) {
    form_.registerControl(*this);
}

double Control::unitTwips() const {
    return (container_ && container_->scalePixels) ? form_.twipsPerPixel() : 1.0;
}

void Control::setTwips(double& field, double v) {
    if (field == v) return;
    field = v;
    touch();
}

void Control::setWidth(double v) { setTwips(width_, toTwips(v)); }
void Control::setHeight(double v) { setTwips(height_, toTwips(v)); }

void Control::setVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    touch();
}

void Control::setEnabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    touch();
}

void Control::setCaption(std::string_view text) {
    if (caption_ == text) return;
    caption_.assign(text);
    touch();
}

void Control::setAccessibleDescription(std::string_view text) {
    if (accessibleDescription_ == text) return;
    accessibleDescription_.assign(text);
    touch();
}

void Control::setAccessibleValue(double percent) {
    if (accessibleValue_ == percent) return;
    accessibleValue_ = percent;
    touch();
}

void Control::setBackColor(std::uint32_t c) {
    if (backColor_ == c) return;
    backColor_ = c;
    touch();
}

void Control::setForeColor(std::uint32_t c) {
    if (foreColor_ == c) return;
    foreColor_ = c;
    touch();
}

void Control::setPicture(std::string name) {
    if (picture == name) return;
    picture = std::move(name);
    touch();
}

double Control::scaleWidth() const {
    const double px = width_ / form_.twipsPerPixel() - (border ? 4 : 0);
    return px < 0 ? 0 : px;
}

double Control::scaleHeight() const {
    const double px = height_ / form_.twipsPerPixel() - (border ? 4 : 0);
    return px < 0 ? 0 : px;
}

void Control::refresh() {
    if (form_.host) form_.host->refresh(*this);
}

void Control::touch() {
    ++revision_;
    form_.touch();
}

// ---- Timer -----------------------------------------------------------------

Timer::Timer(Form& form, std::string name, int interval, bool enabled, std::string tag)
    : form_(form), name_(std::move(name)), interval_(interval), enabled_(enabled), tag_(std::move(tag)) {
    form_.registerTimer(*this);
}

void Timer::setEnabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    if (form_.timerHost) form_.timerHost->timerChanged(*this);
}

void Timer::setInterval(int ms) {
    interval_ = ms;
    if (form_.timerHost) form_.timerHost->timerChanged(*this);
}

// ---- MenuItem --------------------------------------------------------------

MenuItem::MenuItem(Form& form, std::string name, std::string caption, MenuItem* parent,
                   std::string shortcut)
    : form_(form),
      name_(std::move(name)),
      caption_(std::move(caption)),
      parent_(parent),
      shortcut_(std::move(shortcut)) {
    if (parent_) parent_->children_.push_back(this);
    form_.registerMenu(*this);
}

void MenuItem::setCaption(std::string_view text) {
    if (caption_ == text) return;
    caption_.assign(text);
    touch();
}

void MenuItem::setChecked(bool v) {
    if (checked_ == v) return;
    checked_ = v;
    touch();
}

void MenuItem::setEnabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    touch();
}

void MenuItem::setVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    touch();
}

bool MenuItem::reachable() const {
    for (const MenuItem* m = this; m; m = m->parent_) {
        if (!m->enabled_) return false;
    }
    return true;
}

void MenuItem::touch() {
    ++revision_;
    form_.touch();
}

// ---- Form ------------------------------------------------------------------

Form::Form(std::string name) : name_(std::move(name)) {}

void Form::setCaption(std::string_view text) {
    if (caption_ == text) return;
    caption_.assign(text);
    touch();
}

void Form::registerMenu(MenuItem& m) {
    allMenuItems_.push_back(&m);
    if (!m.parent()) menus_.push_back(&m);
}

void Form::setBounds(double left, double top, double width, double height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    clientWidth_ = std::max(0.0, width - frameWidth_);
    clientHeight_ = std::max(0.0, height - frameHeight_);
    touch();
}

void Form::setClientSize(double width, double height) {
    clientWidth_ = width;
    clientHeight_ = height;
    width_ = width + frameWidth_;
    height_ = height + frameHeight_;
    touch();
}

void Form::setVisible(bool v) {
    if (!v && loading_) hiddenWhileLoading_ = true;
    if (visible_ == v) return;
    visible_ = v;
    touch();
}

void Form::hide() { setVisible(false); }

void Form::setEnabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    touch();
}

void Form::setWindowState(int state) {
    const bool changed = windowState_ != state;
    windowState_ = state;
    touch();
    if (changed && onResize) onResize();
}

Control* Form::findControl(std::string_view name) const {
    for (Control* c : controls_) {
        if (c->name() == name) return c;
    }
    return nullptr;
}

Timer* Form::findTimer(std::string_view name) const {
    for (Timer* t : timers_) {
        if (t->name() == name) return t;
    }
    return nullptr;
}

MenuItem* Form::findMenu(std::string_view name) const {
    for (MenuItem* m : allMenuItems_) {
        if (m->name() == name) return m;
    }
    return nullptr;
}

MenuItem* Form::findShortcut(std::string_view key) const {
    for (MenuItem* m : allMenuItems_) {
        if (!m->shortcut().empty() && m->shortcut() == key) return m;
    }
    return nullptr;
}

void Form::clickMenu(MenuItem& item) {
    if (!enabled_ || !item.reachable() || item.separator()) return;
    if (item.onClick) item.onClick();
}

bool Form::pressShortcut(std::string_view key) {
    MenuItem* item = findShortcut(key);
    if (!item) return false;
    clickMenu(*item);
    return true;
}

void Form::doubleClick(Control* control) {
    if (!enabled_) return;
    if (control == nullptr) {
        if (onDblClick) onDblClick();
        return;
    }
    if (!control->enabled()) return;
    if (control->onDblClick) control->onDblClick();
}

void Form::clickButton(Control& button) {
    if (!enabled_ || !button.enabled() || !button.visible()) return;
    if (button.onClick) button.onClick();
}

void Form::load() {
    loaded_ = true;
    if (host) host->formLoaded(*this);
    loading_ = true;
    hiddenWhileLoading_ = false;
    if (onLoad) onLoad();
    loading_ = false;
    if (!hiddenWhileLoading_) {
        show();
        if (onResize) onResize();
    }
}

void Form::unload() {
    if (!loaded_) return;
    loaded_ = false;
    if (onUnload) onUnload();
    setVisible(false);
    if (host) host->formUnloaded(*this);
}

}  // namespace qx::ui
