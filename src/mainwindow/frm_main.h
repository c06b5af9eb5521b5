// The main window: its controls, menus and timers, the state its handlers
// share, and the handlers themselves. The handlers are implemented in the
// folder of the subsystem they belong to.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/system.h"
#include "platform/ui/model.h"
#include "sampling/mod_memory.h"

namespace qx {

class FrmAbout;

// The notification-area icon record: which icon is shown, and its tip.
struct NotifyIconData {
    std::uint32_t cbSize = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::string hIcon;  // the picture shown now ("" before the icon is added)
    std::string szTip;
};

inline TrayImage trayImageOf(const NotifyIconData& data) {
    return data.hIcon == "warning" ? TrayImage::Warning : TrayImage::Normal;
}

inline constexpr int kHistorySlots = 2001;

class FrmMain : public ui::Form {
public:
    FrmMain(System& system, ModMemory& memory);
    ~FrmMain() override;

    using Kind = ui::Kind;
    using Control = ui::Control;
    using Timer = ui::Timer;
    using MenuItem = ui::MenuItem;

    // ---- controls, in definition order --------------------------------
    Control TrayWarn;
    Control TrayIcon;
    Control Frame3;
    Control picHist;
    Control lbGrp100;
    Control lbGrp0;
    Timer tmrLoosePicOld;
    Timer tmrQuit;
    Timer tmrCheckIfMemoryFull;
    Timer tmrDefragMemory;
    Timer tmrUpdateMemoryInformation;
    Control Frame1;
    Control picUsedPagefile;
    Control picAvailableSWAP;
    Control picOldPagefile;
    Control picUsedPhysical;
    Control picOldPhysical;
    Control picAvailableRAM;
    Control lblTotalPhysicalShow;
    Control lblUsedPhysicalShow;
    Control lblFreePhysicalShow;
    Control lblFreePagefileShow;
    Control lblUsedPagefileShow;
    Control lblTotalPagefileShow;
    Control lblFreePhysical;
    Control lblUsedPhysical;
    Control lblTotalPhysical;
    Control lblStatus;

    // ---- menus -----------------------------------------------------------
    MenuItem mnuFile;
    MenuItem mnuDefragMemory1;
    MenuItem mnuDefragMemory2;
    MenuItem mnuDefragMemory3;
    MenuItem mnuLine2;
    MenuItem mnuSpeed;
    MenuItem mnuSpeedSlow;
    MenuItem mnuSpeedNormal;
    MenuItem mnuLine0;
    MenuItem mnuTopWindow;
    MenuItem mnuToTray;
    MenuItem mnuLine1;
    MenuItem mnuExit;
    MenuItem mnuHelp;
    MenuItem mnuAbout;
    MenuItem mnuPopUp;
    MenuItem mnuShow;
    MenuItem mnuLinea;
    MenuItem mnuExit2;

    // ---- form state -----------------------------------------------------------
    std::int16_t OldBarsPending = 0;  // 0 false, -1 true
    std::array<float, kHistorySlots> FreeHistory{};
    std::array<float, kHistorySlots> IdleHistory{};
    std::int16_t HistoryIndex = 0;
    MemoryInfo MemInfo;
    CpuUsage CpuInfo;
    NotifyIconData TrayData;

    // The user's digit-group separator for the figures.
    std::string groupSeparator = ",";
    // The About box's version text where the platform reads it from the
    // program file ("v3.1"); empty: the built-in version.
    std::string versionCaption;

    // ---- handlers ---------------------------------------------------------------
    // start-up and shutdown
    void Form_Load();
    void Form_Unload();
    void ApplyCommandLine();
    // readout
    void tmrUpdateMemoryInformation_Timer();
    void ResetOldBars();
    void tmrLoosePicOld_Timer();
    // freeing
    void tmrDefragMemory_Timer();
    // The end of a run, once its block is made (`ok`) or can't be.
    void tmrDefragMemory_BlockDone(bool ok);
    // Whether a run is waiting for its block.
    bool freeingInProgress() const { return blockPending_; }
    void mnuDefragMemory1_Click();
    void mnuDefragMemory2_Click();
    void tmrQuit_Timer();
    void mnuDefragMemory3_Click();
    void tmrCheckIfMemoryFull_Timer();
    // graph
    void picHist_Paint(ui::Canvas& canvas);
    // window layout
    void Form_Resize();
    // notification area
    void AddTrayIcon();
    void UpdateTrayIcon();
    void TrayIcon_MouseMove(int button, int shift, float x, float y);
    void mnuShow_Click();
    void mnuToTray_Click();
    void Form_DblClick();
    // The notification area went away (`present` false) or a new one came.
    void TrayHost_Change(bool present);
    // window commands
    void mnuTopWindow_Click();
    void mnuSpeedNormal_Click();
    void mnuSpeedSlow_Click();
    void mnuExit_Click();
    void mnuExit2_Click();
    void mnuAbout_Click();

    // The About box while it is open (nullptr otherwise).
    FrmAbout* about() const { return about_.get(); }
    void unloadAbout();

    // Whether the notification-area icon could be added; where it couldn't,
    // hiding the window would lose it, so the window is minimized instead.
    bool trayAvailable() const { return trayAvailable_; }
    // Hides the window into the notification area (or minimizes it where
    // there is none).
    void HideToTray();
    // The icon is there again after the taskbar was created anew: a window
    // kept minimized for want of it goes into the notification area now.
    void TrayIconAddedAgain();

    System& system() { return system_; }
    ModMemory& memory() { return memory_; }

private:
    void bindHandlers();
    void ArmFreeing(const char* status, const char* mode);
    // Sizes and places the green free-share boxes from `MemInfo`.
    void PlaceFreeShareBoxes();
    // The bars' free shares and the graph's latest figures for screen readers.
    void DescribeForScreenReaders();
    // Narrows a box to its red bar if need be and right-aligns it there.
    static void KeepInBar(ui::Control& box, const ui::Control& bar);
    // After the bars changed width: the green boxes placed again from the
    // last sample, the markers kept inside their bars.
    void FitSharesToBars(double oldBarWidth);
    void FreeingFailed();

    System& system_;
    ModMemory& memory_;
    std::unique_ptr<FrmAbout> about_;
    std::unique_ptr<FrmAbout> closedAbout_;  // kept until the next opening or closing: its handler may still be running
    bool trayAvailable_ = true;
    bool failureBoxOpen_ = false;
    bool blockPending_ = false;
    bool firstPaintDone_ = false;
    std::string labelText_;
    std::array<ui::Point, kHistorySlots> memoryPoints_{};
    std::array<ui::Point, kHistorySlots> processorPoints_{};  // reused for the figures, so a tick allocates nothing
};

}  // namespace qx
