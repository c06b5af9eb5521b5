// The main window as it is created: its settings, every control with its
// container, position, size, caption and colours, the timers and the menus.
#include "mainwindow/frm_main.h"

#include "about/frm_about.h"

namespace qx {

namespace {
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBrightGreen = 0x00FF00;
constexpr std::uint32_t kGreen = 0x00C000;
constexpr std::uint32_t kDarkGreen = 0x004000;
constexpr std::uint32_t kMidGreen = 0x008000;
}  // namespace

FrmMain::FrmMain(System& system, ModMemory& memory)
    : ui::Form("frmMain"),
      TrayWarn(*this, "TrayWarn", Kind::PictureBox, nullptr, 3120, 1680, 375, 375),
      TrayIcon(*this, "TrayIcon", Kind::PictureBox, nullptr, 3600, 1680, 375, 375),
      Frame3(*this, "Frame3", Kind::Frame, nullptr, 120, 1920, 3855, 1935),
      picHist(*this, "picHist", Kind::PictureBox, &Frame3, 120, 240, 3615, 1575),
      lbGrp100(*this, "lbGrp100", Kind::Label, &picHist, 0, 120, 390, 195),
      lbGrp0(*this, "lbGrp0", Kind::Label, &picHist, 180, 1320, 210, 195),
      tmrLoosePicOld(*this, "tmrLoosePicOld", 5000, false, ""),
      tmrQuit(*this, "tmrQuit", 1000, false, "4"),
      tmrCheckIfMemoryFull(*this, "tmrCheckIfMemoryFull", 1000, false, "0"),
      tmrDefragMemory(*this, "tmrDefragMemory", 500, false, "0"),
      tmrUpdateMemoryInformation(*this, "tmrUpdateMemoryInformation", 100, true, ""),
      Frame1(*this, "Frame1", Kind::Frame, nullptr, 120, 120, 3855, 1695),
      picUsedPagefile(*this, "picUsedPagefile", Kind::PictureBox, &Frame1, 120, 1320, 3615, 255),
      picAvailableSWAP(*this, "picAvailableSWAP", Kind::PictureBox, &picUsedPagefile, 3720, 0, 135, 255),
      picOldPagefile(*this, "picOldPagefile", Kind::PictureBox, &picUsedPagefile, 840, 0, 2775, 255),
      picUsedPhysical(*this, "picUsedPhysical", Kind::PictureBox, &Frame1, 120, 960, 3615, 255),
      picOldPhysical(*this, "picOldPhysical", Kind::PictureBox, &picUsedPhysical, 840, 0, 2775, 255),
      picAvailableRAM(*this, "picAvailableRAM", Kind::PictureBox, &picUsedPhysical, 3720, 0, 135, 255),
      lblTotalPhysicalShow(*this, "lblTotalPhysicalShow", Kind::Label, &Frame1, 600, 240, 1035, 255),
      lblUsedPhysicalShow(*this, "lblUsedPhysicalShow", Kind::Label, &Frame1, 600, 480, 1035, 255),
      lblFreePhysicalShow(*this, "lblFreePhysicalShow", Kind::Label, &Frame1, 600, 720, 1035, 255),
      lblFreePagefileShow(*this, "lblFreePagefileShow", Kind::Label, &Frame1, 1920, 720, 1035, 255),
      lblUsedPagefileShow(*this, "lblUsedPagefileShow", Kind::Label, &Frame1, 1920, 480, 1035, 255),
      lblTotalPagefileShow(*this, "lblTotalPagefileShow", Kind::Label, &Frame1, 1920, 240, 1035, 255),
      lblFreePhysical(*this, "lblFreePhysical", Kind::Label, &Frame1, 120, 720, 495, 255),
      lblUsedPhysical(*this, "lblUsedPhysical", Kind::Label, &Frame1, 120, 480, 495, 255),
      lblTotalPhysical(*this, "lblTotalPhysical", Kind::Label, &Frame1, 120, 240, 495, 255),
      lblStatus(*this, "lblStatus", Kind::Label, nullptr, 120, 3840, 3855, 255),
      mnuFile(*this, "mnuFile", "&System", nullptr),
      mnuDefragMemory1(*this, "mnuDefragMemory1", "&Free memory", &mnuFile, "Ctrl+F"),
      mnuDefragMemory2(*this, "mnuDefragMemory2", "Free memory and &Quit", &mnuFile),
      mnuDefragMemory3(*this, "mnuDefragMemory3", "Free memory &when full", &mnuFile, "Ctrl+U"),
      mnuLine2(*this, "mnuLine2", "-", &mnuFile),
      mnuSpeed(*this, "mnuSpeed", "&Speed", &mnuFile),
      mnuSpeedSlow(*this, "mnuSpeedSlow", "Slow", &mnuSpeed),
      mnuSpeedNormal(*this, "mnuSpeedNormal", "Normal", &mnuSpeed),
      mnuLine0(*this, "mnuLine0", "-", &mnuFile),
      mnuTopWindow(*this, "mnuTopWindow", "&Top Most", &mnuFile, "Ctrl+T"),
      mnuToTray(*this, "mnuToTray", "&Hide to system tray", &mnuFile, "Ctrl+H"),
      mnuLine1(*this, "mnuLine1", "-", &mnuFile),
      mnuExit(*this, "mnuExit", "E&xit", &mnuFile, "Ctrl+Q"),
      mnuHelp(*this, "mnuHelp", "&Help", nullptr),
      mnuAbout(*this, "mnuAbout", "&About Quendax", &mnuHelp, "F1"),
      mnuPopUp(*this, "mnuPopUp", "&Menu", nullptr),
      mnuShow(*this, "mnuShow", "&Hide", &mnuPopUp),
      mnuLinea(*this, "mnuLinea", "-", &mnuPopUp),
      mnuExit2(*this, "mnuExit2", "&Exit", &mnuPopUp),
      system_(system),
      memory_(memory) {
    setCaption("Quendax");
    icon = "app";
    maxButton = false;
    // Title bar, menu bar and borders of the simulated window; a real
    // backend replaces these with the toolkit's.
    setFrameExtents(120, 690);
    setClientSize(4080, 4065);

    // The two icon holders only lend their pictures to the notification
    // area; on the window they would stand over the frames' edges.
    TrayWarn.border = false;
    TrayWarn.setPicture("warning");
    TrayWarn.setVisible(false);
    TrayIcon.border = false;
    TrayIcon.setVisible(false);

    Frame3.setCaption("Histogram");
    picHist.setBackColor(kDarkGreen);
    picHist.setForeColor(kMidGreen);
    picHist.scalePixels = true;
    for (Control* label : {&lbGrp100, &lbGrp0}) {
        label->setBackColor(ui::kSysWindowBackground);
        label->setForeColor(kBrightGreen);
        label->transparent = true;  // the scale stands on the graph itself
    }
    lbGrp100.setCaption("100%");
    lbGrp0.setCaption("0%");

    Frame1.setCaption("Physical memory / Pagefile");
    for (Control* bar : {&picUsedPagefile, &picUsedPhysical}) bar->setBackColor(kRed);
    for (Control* free : {&picAvailableSWAP, &picAvailableRAM}) {
        free->setBackColor(kBrightGreen);
        free->border = false;
    }
    for (Control* marker : {&picOldPagefile, &picOldPhysical}) {
        marker->setBackColor(kGreen);
        marker->setForeColor(ui::kSysWindowText);
        marker->border = false;
        // Seen as a darker segment over the green free share.
        marker->stackOnTop = true;
        // Shown only after a freeing run, by the readout.
        marker->setVisible(false);
    }

    lblTotalPhysicalShow.setCaption("TOTAL");
    lblUsedPhysicalShow.setCaption("USED");
    lblFreePhysicalShow.setCaption("FREE");
    lblTotalPagefileShow.setCaption("TOTAL");
    lblUsedPagefileShow.setCaption("USED");
    lblFreePagefileShow.setCaption("FREE");
    for (Control* used : {&lblUsedPhysicalShow, &lblUsedPagefileShow}) used->setForeColor(kRed);
    for (Control* free : {&lblFreePhysicalShow, &lblFreePagefileShow}) free->setForeColor(kMidGreen);
    for (Control* value : {&lblTotalPhysicalShow, &lblUsedPhysicalShow, &lblFreePhysicalShow,
                           &lblFreePagefileShow, &lblUsedPagefileShow, &lblTotalPagefileShow}) {
        value->alignment = ui::Alignment::Right;
    }
    lblFreePhysical.setCaption("Free:");
    lblUsedPhysical.setCaption("Used:");
    lblTotalPhysical.setCaption("Total:");
    // The three captions stay in one size even where one of them has to shrink.
    for (Control* caption : {&lblTotalPhysical, &lblUsedPhysical, &lblFreePhysical}) caption->fontGroup = 1;
    lblStatus.setCaption("Ready");

    // What a screen reader calls each figure, bar and the graph.
    const std::pair<Control*, const char*> accessibleNames[] = {
        {&lblTotalPhysicalShow, "Physical memory, total"}, {&lblTotalPagefileShow, "Page file, total"},
        {&lblUsedPhysicalShow, "Physical memory, used"},   {&lblUsedPagefileShow, "Page file, used"},
        {&lblFreePhysicalShow, "Physical memory, free"},   {&lblFreePagefileShow, "Page file, free"},
        {&picUsedPhysical, "Physical memory, free share"}, {&picUsedPagefile, "Page file, free share"},
        {&picHist, "Usage history"},                       {&lblStatus, "Status"}};
    for (const auto& [control, name] : accessibleNames) control->accessibleName = name;
    for (Control* bar : {&picUsedPhysical, &picUsedPagefile}) bar->accessibleRole = ui::AccessibleRole::Meter;
    picHist.accessibleRole = ui::AccessibleRole::Chart;
    lblStatus.accessibleRole = ui::AccessibleRole::StatusLine;

    const std::pair<Control*, int> tabOrder[] = {
        {&Frame1, 0},           {&lblTotalPhysical, 1},      {&lblUsedPhysical, 2},
        {&lblFreePhysical, 3},  {&picUsedPhysical, 4},       {&picAvailableRAM, 5},
        {&lblStatus, 6},        {&picOldPhysical, 7},        {&TrayIcon, 8},
        {&Frame3, 9},           {&picHist, 10},              {&lblTotalPagefileShow, 11},
        {&lblUsedPagefileShow, 12}, {&lblFreePagefileShow, 13}, {&picUsedPagefile, 14},
        {&picOldPagefile, 15},  {&picAvailableSWAP, 16},     {&lblFreePhysicalShow, 17},
        {&lblUsedPhysicalShow, 18}, {&lblTotalPhysicalShow, 19}, {&lbGrp0, 20},
        {&lbGrp100, 21},        {&TrayWarn, 22}};
    for (const auto& [control, index] : tabOrder) control->tabIndex = index;

    mnuSpeedNormal.setChecked(true);
    mnuPopUp.setVisible(false);

    bindHandlers();
}

FrmMain::~FrmMain() = default;

void FrmMain::bindHandlers() {
    onLoad = [this] { Form_Load(); };
    onUnload = [this] { Form_Unload(); };
    onResize = [this] { Form_Resize(); };
    onDblClick = [this] { Form_DblClick(); };

    // A double-click on the memory frame or a value label is one on the window.
    for (Control* c : {&Frame1, &lblTotalPhysicalShow, &lblUsedPhysicalShow, &lblFreePhysicalShow,
                       &lblTotalPagefileShow, &lblUsedPagefileShow, &lblFreePagefileShow}) {
        c->onDblClick = [this] { Form_DblClick(); };
    }
    picHist.onPaint = [this](ui::Canvas& canvas) { picHist_Paint(canvas); };

    tmrUpdateMemoryInformation.onTimer = [this] { tmrUpdateMemoryInformation_Timer(); };
    tmrLoosePicOld.onTimer = [this] { tmrLoosePicOld_Timer(); };
    tmrDefragMemory.onTimer = [this] { tmrDefragMemory_Timer(); };
    tmrQuit.onTimer = [this] { tmrQuit_Timer(); };
    tmrCheckIfMemoryFull.onTimer = [this] { tmrCheckIfMemoryFull_Timer(); };

    mnuDefragMemory1.onClick = [this] { mnuDefragMemory1_Click(); };
    mnuDefragMemory2.onClick = [this] { mnuDefragMemory2_Click(); };
    mnuDefragMemory3.onClick = [this] { mnuDefragMemory3_Click(); };
    mnuSpeedSlow.onClick = [this] { mnuSpeedSlow_Click(); };
    mnuSpeedNormal.onClick = [this] { mnuSpeedNormal_Click(); };
    mnuTopWindow.onClick = [this] { mnuTopWindow_Click(); };
    mnuToTray.onClick = [this] { mnuToTray_Click(); };
    mnuExit.onClick = [this] { mnuExit_Click(); };
    mnuAbout.onClick = [this] { mnuAbout_Click(); };
    mnuShow.onClick = [this] { mnuShow_Click(); };
    mnuExit2.onClick = [this] { mnuExit2_Click(); };
}

}  // namespace qx
