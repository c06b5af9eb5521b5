// Automatic freeing: while "Free memory &when full" is checked, every two
// seconds the watch tests whether less than five per cent of physical memory
// is free, and arms a freeing run when it is.
#include "mainwindow/frm_main.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/numbers.h"

namespace qx {

void FrmMain::mnuDefragMemory3_Click() {
    const bool turnOn = !mnuDefragMemory3.checked();
    skipOnError([&] { mnuDefragMemory3.setChecked(turnOn); });
    skipOnError([&] { tmrCheckIfMemoryFull.setTag("0"); });
    skipOnError([&] { tmrCheckIfMemoryFull.setEnabled(turnOn); });
}

void FrmMain::tmrCheckIfMemoryFull_Timer() {
    skipOnError([&] {
        tmrCheckIfMemoryFull.setTag(ShortestText(CDbl(tmrCheckIfMemoryFull.tag()) + 1));
    });
    bool testNow = false;
    skipOnError([&] { testNow = CDbl(tmrCheckIfMemoryFull.tag()) == 2; });
    if (!testNow) return;
    skipOnError([&] { tmrCheckIfMemoryFull.setTag("0"); });
    skipOnError([&] { memory_.GetMemoryInfo(MemInfo); });
    const double threshold = MemInfo.TotalPhysical / 100 * 5;
    if (!(threshold > MemInfo.FreePhysical)) return;
    ArmFreeing("Out of memory, freeing...", "1");
}

}  // namespace qx
