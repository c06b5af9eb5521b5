// The window commands: top-most, the two refresh speeds, both exits and the
// About box.
#include "about/frm_about.h"
#include "mainwindow/frm_main.h"
#include "platform/runtime/errors.h"

namespace qx {

namespace {
constexpr int kTopMost = -1;
constexpr int kNotTopMost = -2;
}  // namespace

void FrmMain::mnuTopWindow_Click() {
    mnuTopWindow.setChecked(!mnuTopWindow.checked());
    // The window keeps its place and size; only its stacking order changes.
    system_.setWindowPos(mnuTopWindow.checked() ? kTopMost : kNotTopMost);
}

void FrmMain::mnuSpeedNormal_Click() {
    tmrUpdateMemoryInformation.setInterval(100);
    mnuSpeedNormal.setChecked(true);
    mnuSpeedSlow.setChecked(false);
}

void FrmMain::mnuSpeedSlow_Click() {
    tmrUpdateMemoryInformation.setInterval(500);
    mnuSpeedNormal.setChecked(false);
    mnuSpeedSlow.setChecked(true);
}

void FrmMain::mnuExit_Click() { unload(); }

void FrmMain::mnuExit2_Click() { unload(); }

void FrmMain::mnuAbout_Click() {
    skipOnError([&] { setEnabled(false); });
    skipOnError([&] {
        if (!about_) {
            about_ = std::make_unique<FrmAbout>(*this);
            about_->host = host;
            about_->timerHost = timerHost;
            about_->load();
        }
    });
}

}  // namespace qx
