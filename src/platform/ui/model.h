// The abstract window model: forms, frames, labels, picture boxes, buttons,
// timers and menu entries as plain objects holding their properties. Handlers
// change the model; a backend renders it and turns real events into handler
// calls. Lengths are twips, except inside a picture box measured in pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/canvas.h"

namespace qx::ui {

class Form;
class Timer;
class MenuItem;
class Control;

// What a backend does for the model beyond reading its properties.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // Erase the picture box and run its paint handler now.
    virtual void refresh(Control& box) = 0;
    // Show a menu as a pop-up at the mouse position.
    virtual void popupMenu(MenuItem& menu) = 0;
    // A window has been loaded / is being unloaded (after its unload handler).
    virtual void formLoaded(Form& /*form*/) {}
    virtual void formUnloaded(Form& /*form*/) {}
};

// Runs timers: told whenever a timer is enabled, disabled or given a new
// interval (which starts its period afresh).
class TimerHost {
public:
    virtual ~TimerHost() = default;
    virtual void timerChanged(Timer& timer) = 0;
};

enum class Kind { Frame, Label, PictureBox, Button };
enum class Alignment { Left = 0, Right = 1, Center = 2 };
// What a control is to a screen reader where its kind doesn't say: a status
// line whose changes are read out, a meter with a value, a chart.
enum class AccessibleRole { ByKind, StatusLine, Meter, Chart };

inline constexpr std::uint32_t kSysWindowBackground = 0x80000005;
inline constexpr std::uint32_t kSysWindowText = 0x80000008;
inline constexpr std::uint32_t kSysButtonFace = 0x8000000F;
inline constexpr std::uint32_t kSysButtonText = 0x80000012;

class Control {
public:
    Control(Form& form, std::string name, Kind kind, Control* container, double left, double top,
            double width, double height);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    Kind kind() const { return kind_; }
    Control* container() const { return container_; }
    Form& form() const { return form_; }

    // Geometry in the container's unit: twips, or pixels inside a picture
    // box that measures in pixels.
    double left() const { return fromTwips(left_); }
    double top() const { return fromTwips(top_); }
    double width() const { return fromTwips(width_); }
    double height() const { return fromTwips(height_); }
    void setLeft(double v) { setTwips(left_, toTwips(v)); }
    void setTop(double v) { setTwips(top_, toTwips(v)); }
    void setWidth(double v);
    void setHeight(double v);

    // Geometry in twips, whatever the container measures in.
    double leftTwips() const { return left_; }
    double topTwips() const { return top_; }
    double widthTwips() const { return width_; }
    double heightTwips() const { return height_; }

    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string_view text);

    std::uint32_t backColor() const { return backColor_; }
    void setBackColor(std::uint32_t c);
    std::uint32_t foreColor() const { return foreColor_; }
    void setForeColor(std::uint32_t c);

    // The pen of a picture box: foreground colour, width, style.
    int drawWidth() const { return drawWidth_; }
    void setDrawWidth(int w) { drawWidth_ = w; }
    int drawStyle() const { return drawStyle_; }
    void setDrawStyle(int s) { drawStyle_ = s; }
    Pen pen() const { return Pen{foreColor_, drawWidth_, drawStyle_}; }

    // Settings fixed by the window definition.
    Alignment alignment = Alignment::Left;
    bool border = true;         // picture boxes: sunken 2-pixel border
    bool scalePixels = false;   // picture boxes whose children measure in pixels
    bool transparent = false;   // labels: no background of their own
    bool stackOnTop = false;    // drawn above the controls defined after it
    int fontGroup = 0;          // labels: one nonzero group shares one font size
    // What a screen reader calls the control; a label's caption follows it
    // ("Physical memory, used: 903 MB").
    std::string accessibleName;
    AccessibleRole accessibleRole = AccessibleRole::ByKind;
    double fontSize = 0;        // labels and buttons, in points (0: the usual size)
    bool fontBold = false;
    int tabIndex = 0;
    std::string picture;        // name of the image shown ("" none)

    // The client size of a picture box in its pixels (inside the border).
    double scaleWidth() const;
    double scaleHeight() const;

    // Asks the backend to erase and repaint now.
    void refresh();

    std::function<void()> onDblClick;
    std::function<void(Canvas&)> onPaint;
    std::function<void()> onClick;  // buttons

    // Bumped on every change a backend has to render.
    std::uint64_t revision() const { return revision_; }

    void setPicture(std::string name);

    // What a screen reader says of the control beyond its name (the latest
    // figures of a graph), and its value: a percentage, -1 for none.
    const std::string& accessibleDescription() const { return accessibleDescription_; }
    void setAccessibleDescription(std::string_view text);
    double accessibleValue() const { return accessibleValue_; }
    void setAccessibleValue(double percent);

private:
    double unitTwips() const;
    double fromTwips(double t) const { return t / unitTwips(); }
    double toTwips(double v) const { return v * unitTwips(); }
    void setTwips(double& field, double v);
    void touch();

    Form& form_;
    std::string name_;
    Kind kind_;
    Control* container_;
    double left_, top_, width_, height_;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    std::uint32_t backColor_ = kSysButtonFace;
    std::uint32_t foreColor_ = kSysButtonText;
    int drawWidth_ = 1;
    int drawStyle_ = 0;
    std::string accessibleDescription_;
    double accessibleValue_ = -1;
    std::uint64_t revision_ = 0;
};

class Timer {
public:
    Timer(Form& form, std::string name, int interval, bool enabled, std::string tag);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    bool enabled() const { return enabled_; }
    // Enabling a disabled timer starts its period afresh; enabling an enabled
    // one changes nothing.
    void setEnabled(bool v);
    int interval() const { return interval_; }
    // A new interval starts the period afresh.
    void setInterval(int ms);
    const std::string& tag() const { return tag_; }
    void setTag(std::string_view text) { tag_.assign(text); }

    std::function<void()> onTimer;

private:
    Form& form_;
    std::string name_;
    int interval_;
    bool enabled_;
    std::string tag_;
};

class MenuItem {
public:
    MenuItem(Form& form, std::string name, std::string caption, MenuItem* parent,
             std::string shortcut = {});
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::string& name() const { return name_; }
    MenuItem* parent() const { return parent_; }
    const std::vector<MenuItem*>& children() const { return children_; }
    const std::string& shortcut() const { return shortcut_; }
    bool separator() const { return caption_ == "-"; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string_view text);
    bool checked() const { return checked_; }
    void setChecked(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);
    bool visible() const { return visible_; }
    void setVisible(bool v);

    // True when neither the entry nor a menu above it is disabled.
    bool reachable() const;

    std::function<void()> onClick;
    std::uint64_t revision() const { return revision_; }

private:
    void touch();
    Form& form_;
    std::string name_;
    std::string caption_;
    MenuItem* parent_;
    std::vector<MenuItem*> children_;
    std::string shortcut_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    std::uint64_t revision_ = 0;
};

enum WindowState { kNormal = 0, kMinimized = 1, kMaximized = 2 };

class Form {
public:
    explicit Form(std::string name);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form() = default;

    const std::string& name() const { return name_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string_view text);

    // Outer position and size, in twips.
    double left() const { return left_; }
    double top() const { return top_; }
    double width() const { return width_; }
    double height() const { return height_; }
    void setBounds(double left, double top, double width, double height);
    void setLeft(double v) { setBounds(v, top_, width_, height_); }
    void setTop(double v) { setBounds(left_, v, width_, height_); }
    // Client area, in twips.
    double scaleWidth() const { return clientWidth_; }
    double scaleHeight() const { return clientHeight_; }
    // Frame around the client area (title bar, menu bar, borders), in twips;
    // the outer size is the client size plus these.
    void setFrameExtents(double horizontal, double vertical) {
        frameWidth_ = horizontal;
        frameHeight_ = vertical;
    }
    void setClientSize(double width, double height);

    bool visible() const { return visible_; }
    void setVisible(bool v);
    void show() { setVisible(true); }
    void hide();
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);
    int windowState() const { return windowState_; }
    // Changing the state raises the resize event.
    void setWindowState(int state);

    // Twips per screen pixel (15 at 96 dots per inch).
    double twipsPerPixel() const { return twipsPerPixel_; }
    void setTwipsPerPixel(double t) { twipsPerPixel_ = t; }

    std::string icon;  // name of the window's icon image
    bool sizable = true;
    bool maxButton = true;
    bool minButton = true;
    bool showInTaskbar = true;

    const std::vector<Control*>& controls() const { return controls_; }
    const std::vector<Timer*>& timers() const { return timers_; }
    const std::vector<MenuItem*>& menus() const { return menus_; }  // top-level
    const std::vector<MenuItem*>& allMenuItems() const { return allMenuItems_; }
    Control* findControl(std::string_view name) const;
    Timer* findTimer(std::string_view name) const;
    MenuItem* findMenu(std::string_view name) const;
    MenuItem* findShortcut(std::string_view key) const;

    // Events as a user causes them; each does nothing while the window or
    // the entry is disabled.
    void clickMenu(MenuItem& item);
    bool pressShortcut(std::string_view key);
    void doubleClick(Control* control);  // nullptr: the window itself
    void clickButton(Control& button);

    // Loading: the load handler runs, then the window is shown unless the
    // handler hid it.
    void load();
    bool loaded() const { return loaded_; }
    // Unloading: the unload handler runs and the window goes away.
    void unload();

    std::function<void()> onLoad;
    std::function<void()> onUnload;
    std::function<void()> onResize;
    std::function<void()> onDblClick;
    std::function<void()> onQueryClose;  // close box; defaults to unload

    WindowHost* host = nullptr;
    TimerHost* timerHost = nullptr;

    // Bumped on every change a backend has to render.
    std::uint64_t revision() const { return revision_; }
    void touch() { ++revision_; }

    // Called by the controls, timers and menu entries as they are created,
    // so the lists keep definition order.
    void registerControl(Control& c) { controls_.push_back(&c); }
    void registerTimer(Timer& t) { timers_.push_back(&t); }
    void registerMenu(MenuItem& m);

private:
    std::string name_;
    std::string caption_;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    double clientWidth_ = 0, clientHeight_ = 0;
    double frameWidth_ = 0, frameHeight_ = 0;
    bool visible_ = false;
    bool enabled_ = true;
    int windowState_ = kNormal;
    double twipsPerPixel_ = 15;
    bool loaded_ = false;
    bool loading_ = false;
    bool hiddenWhileLoading_ = false;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    std::vector<MenuItem*> menus_;
    std::vector<MenuItem*> allMenuItems_;
    std::uint64_t revision_ = 0;
};

}  // namespace qx::ui
