// What a backend gives the shared form host: a native window for each
// loaded form, and a way to run something from its event loop soon.
#pragma once

#include <memory>

#include "platform/ui/model.h"
#include "platform/ui/window_description.h"

namespace qx::ui {

// The toolkit's window of one loaded form.
class NativeForm {
public:
    virtual ~NativeForm() = default;
    // Applies what changed in the model since the last sync.
    virtual void sync() = 0;
    // Erases a picture box and paints it now.
    virtual void repaintBox(const Control& box) = 0;
    // Whether `menu` is an entry of this window's menus.
    virtual bool hasMenu(const MenuItem& menu) const = 0;
    // Brings the menu's entries up to date and, unless `entriesOnly`, shows
    // it as a pop-up at the mouse position.
    virtual void popupMenu(const MenuItem& menu, bool entriesOnly) = 0;
    // The form unloaded: the window hides and sends no more events. It is
    // deleted later, from the event loop.
    virtual void detach() = 0;
    // How much wider and taller than its client area the window is, less
    // its menu bar, in pixels; false while it is not on the screen.
    virtual bool frameExtents(int& width, int& height) const = 0;
    // The user moved or sized the window: its place goes to the model, and
    // the next sync leaves it there.
    virtual void recordPlace() = 0;
    // Where the window is on the screen, for the window description.
    virtual ScreenView screenView() const = 0;
};

class NativeForms {
public:
    virtual ~NativeForms() = default;
    // A hidden window for `form`; the start-up window is centred on the
    // screen when first shown, the others are owned by it.
    virtual std::unique_ptr<NativeForm> create(Form& form, bool startup) = 0;
    // Twips per pixel of the screen a new window opens on.
    virtual double twipsPerPixel() const = 0;
    // Calls FormHost::runSoon's work from the event loop, once, soon.
    virtual void callSoon() = 0;
};

}  // namespace qx::ui
