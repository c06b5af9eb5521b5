// The window layout: the frames, bars and graph follow the window's width,
// the status line its bottom, and the history frame takes the free height.
// Minimizing hides the window into the notification area.
#include <algorithm>

#include "mainwindow/frm_main.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/numbers.h"

namespace qx {

void FrmMain::Form_Resize() {
    if (windowState() == ui::kMinimized) {
        // Without a notification area to come back from, stay minimized.
        if (trayAvailable_) hide();
        return;
    }

    const double clientWidth = scaleWidth();
    const double clientHeight = scaleHeight();

    const double l1 = Frame1.left();
    if (clientWidth - l1 - l1 > l1) {
        lblStatus.setTop(clientHeight - lblStatus.height());
        Frame1.setWidth(clientWidth - l1 - l1);
        Frame3.setWidth(Frame1.width());
        const double l2 = picUsedPhysical.left();
        const double oldBarWidth = picUsedPhysical.width();
        // Narrow windows would give negative widths; stop at zero.
        picUsedPhysical.setWidth(std::max(0.0, Frame1.width() - l2 - l2));
        picUsedPagefile.setWidth(picUsedPhysical.width());
        picHist.setWidth(picUsedPhysical.width());
        if (picUsedPhysical.width() != oldBarWidth) FitSharesToBars(oldBarWidth);
    }

    const double t3 = Frame3.top();
    const double l3 = Frame3.left();
    const double h = lblStatus.height();
    const double freeHeight = clientHeight - t3 - l3 - h;
    if (6 * l3 < freeHeight) {
        Frame3.setHeight(clientHeight - t3 - l3 - h);
        const double t4 = picHist.top();
        picHist.setHeight(Frame3.height() - t4 - t4 / 2);
    }
}

void FrmMain::FitSharesToBars(double oldBarWidth) {
    // Until the next tick the boxes would still stand where the old width
    // put them, partly outside a narrower bar.
    if (MemInfo.TotalPhysical != 0) skipOnError([&] { PlaceFreeShareBoxes(); });
    KeepInBar(picAvailableRAM, picUsedPhysical);
    KeepInBar(picAvailableSWAP, picUsedPagefile);
    for (const auto& pair : {std::pair{&picOldPhysical, &picUsedPhysical},
                             std::pair{&picOldPagefile, &picUsedPagefile}}) {
        // Named variables rather than a structured binding, which lambdas
        // can capture only from clang 16 on (the fuzzing build uses clang).
        Control* const marker = pair.first;
        Control* const bar = pair.second;
        // A marker on show keeps standing for the same share of its bar.
        if (marker->visible() && oldBarWidth > 0) {
            skipOnError([&] { marker->setWidth(CLng(marker->width() / oldBarWidth * bar->width())); });
        }
        KeepInBar(*marker, *bar);
    }
}

}  // namespace qx
