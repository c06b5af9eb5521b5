// The live readout: ten times a second (twice at Slow) the figures, the
// free-share bars, the markers after a freeing run, the history rings, the
// graph and the notification-area icon are brought up to date.
#include <algorithm>
#include <cstdio>

#include "mainwindow/frm_main.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/numbers.h"

namespace qx {

namespace {

// A figure in whole megabytes with the user's digit-group separator. Halves
// round away from zero (1,234.5 MB reads 1,235 MB) on purpose: the figures
// follow the format's rounding, not the halves-to-even of sizes and places.
void ShowFigure(ui::Control& label, double megabytes, const std::string& separator,
                std::string& scratch) {
    scratch.clear();
    FormatThousands(megabytes, separator, scratch);
    scratch.append(" MB");
    label.setCaption(scratch);
}

// Width of the green box inside a red bar of `barWidth` twips for a free
// share of `free` out of `total`; 32 bits wide, so a very wide window still
// gets its bars. Figures no machine gives (more free than there is, a total
// read as negative) still give a box inside its bar, and never stop the tick
// halfway through placing the boxes.
std::int32_t FreeShareWidth(double barWidth, double total, double free) {
    return CLng(std::clamp(barWidth / total * free, 0.0, std::max(0.0, barWidth)));
}

}  // namespace

void FrmMain::KeepInBar(ui::Control& box, const ui::Control& bar) {
    const double width = std::clamp(box.width(), 0.0, std::max(0.0, bar.width()));
    box.setWidth(width);
    box.setLeft(bar.width() - width);
}

void FrmMain::tmrUpdateMemoryInformation_Timer() {
    memory_.GetMemoryInfo(MemInfo);
    // A tick with no processor time passed keeps the previous busy share.
    memory_.GetCpuUsage(CpuInfo);

    // Until the first good sample the totals are zero: keep the placeholders
    // and bars as they are, and store no history.
    const bool haveSample = MemInfo.TotalPhysical != 0;
    if (haveSample) {
        ShowFigure(lblTotalPhysicalShow, MemInfo.TotalPhysical, groupSeparator, labelText_);
        ShowFigure(lblUsedPhysicalShow, MemInfo.UsedPhysical, groupSeparator, labelText_);
        ShowFigure(lblFreePhysicalShow, MemInfo.FreePhysical, groupSeparator, labelText_);
        ShowFigure(lblTotalPagefileShow, MemInfo.TotalPagefile, groupSeparator, labelText_);
        ShowFigure(lblUsedPagefileShow, MemInfo.UsedPagefile, groupSeparator, labelText_);
        ShowFigure(lblFreePagefileShow, MemInfo.FreePagefile, groupSeparator, labelText_);

        PlaceFreeShareBoxes();
        DescribeForScreenReaders();
    }

    // After a freeing run, show each marker whose free share did not shrink.
    if (OldBarsPending != 0) {
        OldBarsPending = 0;
        if (picOldPhysical.width() <= picAvailableRAM.width()) picOldPhysical.setVisible(true);
        if (picOldPagefile.width() <= picAvailableSWAP.width()) picOldPagefile.setVisible(true);
    }

    if (haveSample) {
        ++HistoryIndex;
        if (HistoryIndex > kHistorySlots - 1) HistoryIndex = 0;
        FreeHistory[HistoryIndex] = static_cast<float>(MemInfo.FreePhysical / MemInfo.TotalPhysical);
        IdleHistory[HistoryIndex] = static_cast<float>(1 - CpuInfo.BusyPercent / 100);
    }

    picHist.refresh();
    UpdateTrayIcon();
}

void FrmMain::DescribeForScreenReaders() {
    // The free shares in whole per cent, halves to the even one.
    auto percent = [](double part, double whole) { return whole > 0 ? RoundHalfEven(part / whole * 100) : 0.0; };
    picUsedPhysical.setAccessibleValue(percent(MemInfo.FreePhysical, MemInfo.TotalPhysical));
    picUsedPagefile.setAccessibleValue(percent(MemInfo.FreePagefile, MemInfo.TotalPagefile));
    char text[96];
    std::snprintf(text, sizeof text, "Memory in use: %.0f %%, processor: %.0f %%",
                  percent(MemInfo.UsedPhysical, MemInfo.TotalPhysical), std::clamp(CpuInfo.BusyPercent, 0.0, 100.0));
    picHist.setAccessibleDescription(text);
}

void FrmMain::PlaceFreeShareBoxes() {
    picAvailableRAM.setWidth(
        FreeShareWidth(picUsedPhysical.width(), MemInfo.TotalPhysical, MemInfo.FreePhysical));
    if (MemInfo.TotalPagefile != 0) {
        picAvailableSWAP.setWidth(
            FreeShareWidth(picUsedPagefile.width(), MemInfo.TotalPagefile, MemInfo.FreePagefile));
    }

    // The test is on the quantity: a small free amount keeps the box
    // visible even at width 0.
    picAvailableSWAP.setVisible(MemInfo.FreePagefile != 0);
    picAvailableRAM.setVisible(MemInfo.FreePhysical != 0);

    if (MemInfo.UsedPhysical == 0) picAvailableRAM.setWidth(picUsedPhysical.width());
    if (MemInfo.UsedPagefile == 0) picAvailableSWAP.setWidth(picUsedPagefile.width());

    KeepInBar(picAvailableRAM, picUsedPhysical);
    KeepInBar(picAvailableSWAP, picUsedPagefile);
}

void FrmMain::ResetOldBars() {
    // Each marker covers exactly the free share as last drawn, inside its bar.
    picOldPhysical.setVisible(false);
    picOldPhysical.setWidth(picAvailableRAM.width());
    picOldPhysical.setLeft(picUsedPhysical.width() - picOldPhysical.width());
    picOldPagefile.setVisible(false);
    picOldPagefile.setWidth(picAvailableSWAP.width());
    picOldPagefile.setLeft(picUsedPagefile.width() - picOldPagefile.width());
}

void FrmMain::tmrLoosePicOld_Timer() {
    // Hide the markers again, five seconds after the run.
    skipOnError([&] { tmrLoosePicOld.setEnabled(false); });
    skipOnError([&] { picOldPhysical.setVisible(false); });
    skipOnError([&] { picOldPagefile.setVisible(false); });
}

}  // namespace qx
