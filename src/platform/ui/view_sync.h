// Turns the model's revisions into per-property changes for a backend's
// windows, controls and menu entries. A backend keeps one FormSync per
// window, one ControlSync per control and one MenuSync per menu entry beside
// its own widgets and, whenever it syncs, gets called only for what differs
// from what it last applied. An unchanged control or entry costs one
// comparison.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "platform/ui/model.h"
#include "platform/ui/pixels.h"

namespace qx::ui {

// What a backend does with one control's changes. Each is called for every
// property at the first sync (and after forget()), later only on a change.
class ControlChanges {
public:
    virtual ~ControlChanges() = default;
    // Place and size in the container's pixels.
    virtual void setGeometry(const PixelRect& rect) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setEnabled(bool enabled) = 0;
    // Frames, labels and buttons show it; picture boxes have none.
    virtual void setCaption(const std::string& caption) = 0;
    // Colours as the model holds them (kSys... values name system colours).
    virtual void setBackColor(std::uint32_t color) = 0;
    virtual void setForeColor(std::uint32_t color) = 0;
    // Picture boxes: the sunken border and the image shown ("" none).
    virtual void setBorder(bool border) = 0;
    virtual void setPicture(const std::string& name) = 0;
    // What a screen reader gets: the name (a label's with its caption), the
    // description and the value (a percentage, -1 none). Backends without
    // an accessibility layer ignore it.
    virtual void setAccessible(const std::string& /*name*/, const std::string& /*description*/, double /*value*/) {}
};

// What a control's window can be made with, so that it isn't placed,
// shown and lettered once more straight after.
struct ControlAtCreation {
    PixelRect geometry;
    bool visible = false;
    std::string caption;
};

class ControlSync {
public:
    explicit ControlSync(const Control& control) : control_(control) {}

    const Control& control() const { return control_; }

    // The control's place in its container in pixels at `twipsPerPixel`.
    PixelRect geometry(double twipsPerPixel) const;

    // The place, visibility and caption to make the control's window with.
    // The first sync then reports those three only if they changed since.
    ControlAtCreation creation(double twipsPerPixel);
    // Reports what changed since the last sync.
    void sync(ControlChanges& changes, double twipsPerPixel);
    // Everything is reported again at the next sync.
    void forget() { applied_ = made_ = false; }

private:
    const Control& control_;
    bool applied_ = false;
    bool made_ = false;  // the window was made with geometry_, visible_ and caption_
    std::uint64_t revision_ = 0;
    double twipsPerPixel_ = 0;
    PixelRect geometry_;
    bool visible_ = false;
    bool enabled_ = false;
    std::string caption_;
    std::uint32_t backColor_ = 0;
    std::uint32_t foreColor_ = 0;
    bool border_ = false;
    std::string picture_;
    std::string accessibleName_;
    std::string accessibleDescription_;
    double accessibleValue_ = -1;
};

// What a backend does with one menu entry's changes.
class MenuChanges {
public:
    virtual ~MenuChanges() = default;
    // Not for separators.
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setChecked(bool checked) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setVisible(bool visible) = 0;
};

class MenuSync {
public:
    explicit MenuSync(const MenuItem& item) : item_(item) {}

    const MenuItem& item() const { return item_; }

    void sync(MenuChanges& changes);
    // Everything is reported again at the next sync: for a toolkit that
    // flipped a check mark by itself, say.
    void forget() { applied_ = false; }

private:
    const MenuItem& item_;
    bool applied_ = false;
    std::uint64_t revision_ = 0;
    std::string caption_;
    bool checked_ = false;
    bool enabled_ = false;
    bool visible_ = false;
};

// What a backend does with its window's own changes.
class FormChanges {
public:
    virtual ~FormChanges() = default;
    virtual void setCaption(const std::string& caption) = 0;
    // The client area's size, in pixels.
    virtual void setClientSize(int width, int height) = 0;
    // The outer top-left corner, in pixels.
    virtual void setPosition(int left, int top) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setWindowState(int state) = 0;  // kNormal, kMinimized, kMaximized
    virtual void setVisible(bool visible) = 0;
};

class FormSync {
public:
    // `placedWhenFirstShown`: the backend places the window itself when it
    // first shows it (the start-up window, centred on the screen); it takes
    // the model's place only from then on.
    FormSync(const Form& form, bool placedWhenFirstShown) : form_(form), placedByBackend_(placedWhenFirstShown) {}

    // Reports what changed since the last sync, in this order: caption,
    // client size, place, enabled, window state, visibility.
    void sync(FormChanges& changes, double twipsPerPixel);
    // The window has the model's size and place now (the user moved or
    // sized it, or the backend placed it): they are not applied again.
    void placeTaken();

private:
    static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    const Form& form_;
    bool placedByBackend_;
    bool applied_ = false;
    bool shownOnce_ = false;
    std::string caption_;
    double clientWidth_ = kNone, clientHeight_ = kNone, left_ = kNone, top_ = kNone;
    bool enabled_ = false;
    int state_ = kNormal;
    bool visible_ = false;
};

}  // namespace qx::ui
