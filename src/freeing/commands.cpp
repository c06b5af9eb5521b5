// "&Free memory" and "Free memory and &Quit" arm the freeing run; the quit
// countdown ends the program four seconds after a run in the quit mode.
#include "mainwindow/frm_main.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/numbers.h"

namespace qx {

void FrmMain::ArmFreeing(const char* status, const char* mode) {
    // A run that is making its block is not followed by another one: the
    // command, the shortcut or the watch asking meanwhile changes nothing.
    if (blockPending_) return;
    // Record where the free shares stand, say why, and let the run start on
    // the freeing timer's next tick.
    skipOnError([&] { ResetOldBars(); });
    skipOnError([&] { lblStatus.setCaption(status); });
    skipOnError([&] { tmrDefragMemory.setTag(mode); });
    skipOnError([&] { tmrDefragMemory.setEnabled(true); });
}

void FrmMain::mnuDefragMemory1_Click() { ArmFreeing("Freeing up memory...", "1"); }

void FrmMain::mnuDefragMemory2_Click() { ArmFreeing("Freeing up memory...", "4"); }

void FrmMain::tmrQuit_Timer() {
    skipOnError([&] { tmrQuit.setTag(ShortestText(CDbl(tmrQuit.tag()) - 1)); });
    skipOnError([&] {
        lblStatus.setCaption("Done, quitting in " + ShortestText(CDbl(tmrQuit.tag()) - 1) + "...");
    });
    bool done = false;
    skipOnError([&] { done = CDbl(tmrQuit.tag()) == 0; });
    if (done) unload();
}

}  // namespace qx
