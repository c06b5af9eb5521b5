// What every backend's windows do the same way beside syncing: the close
// box, the keys a window passes to the program, and the frame a dialog is
// taken to have before it is shown.
#pragma once

#include <functional>
#include <string_view>

#include "platform/ui/model.h"

namespace qx::ui {

struct FormHandlers {
    // The close box; without one, the form's own onQueryClose, and without
    // that the form unloads.
    std::function<void(Form&)> closeBox;
    // "Enter", "Esc"; true when the program took the key.
    std::function<bool(Form&, std::string_view)> keys;

    void close(Form& form) const {
        if (closeBox) {
            closeBox(form);
        } else if (form.onQueryClose) {
            form.onQueryClose();
        } else {
            form.unload();
        }
    }
    bool key(Form& form, std::string_view name) const { return keys ? keys(form, name) : false; }
};

// Until a dialog is shown, its frame is taken to be the start-up window's
// less that window's menu bar (`frameWidth` and `frameHeight` pixels; none
// while that window is hidden), so its outer size is right for centring it
// over that window.
inline void TakeDialogFrame(Form& dialog, bool startupShown, int frameWidth, int frameHeight) {
    const double tpp = dialog.twipsPerPixel();
    if (startupShown) {
        dialog.setFrameExtents(frameWidth * tpp, frameHeight * tpp);
    } else {
        dialog.setFrameExtents(0, 0);
    }
    dialog.setClientSize(dialog.scaleWidth(), dialog.scaleHeight());
}

}  // namespace qx::ui
