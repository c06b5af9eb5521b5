// The freeing run: one tick of tmrDefragMemory claims a block of about a
// quarter of physical memory, writes all of it, and gives it back.
#include <cstdint>

#include "mainwindow/frm_main.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/numbers.h"

namespace qx {

namespace {

// 1,048,576 two-byte characters for every whole 8 MB of physical memory.
// In 64 bits: machines with 16 GiB or more get their block too.
std::uint64_t BlockCharacters(double totalPhysicalMegabytes) {
    const std::int32_t r = CLng(totalPhysicalMegabytes);
    if (r < 0) throw RuntimeError(ErrorCode::Overflow, "negative memory size");
    return static_cast<std::uint64_t>(r / 8) * 1048576u;
}

}  // namespace

void FrmMain::tmrDefragMemory_Timer() {
    // While the failure message of a run is open, no other run starts: the
    // armed run waits (the timer stays enabled) until the box is closed.
    if (failureBoxOpen_) return;
    // One block at a time: a tick while one is being made waits for it.
    if (blockPending_) return;

    std::uint64_t characters = 0;
    try {
        tmrDefragMemory.setEnabled(false);
        memory_.GetMemoryInfo(MemInfo);
        characters = BlockCharacters(MemInfo.TotalPhysical);
    } catch (const RuntimeError&) {
        FreeingFailed();
        return;
    }
    // The window goes on painting and answering while the block is made;
    // the run ends in tmrDefragMemory_BlockDone, at once or as an event of
    // its own later.
    blockPending_ = true;
    try {
        system_.startBlock(characters, [this](bool ok) { tmrDefragMemory_BlockDone(ok); });
    } catch (...) {
        blockPending_ = false;
        throw;
    }
}

void FrmMain::tmrDefragMemory_BlockDone(bool ok) {
    blockPending_ = false;
    try {
        if (!ok) throw RuntimeError(ErrorCode::Refused, "Out of memory");
        OldBarsPending = -1;
        const bool quitAfter = CDbl(tmrDefragMemory.tag()) == 4;
        if (!quitAfter) lblStatus.setCaption("Ready");
        tmrLoosePicOld.setEnabled(true);
        if (quitAfter) {
            // Read the quit count first: a count that isn't a number fails
            // the run before the menus are locked.
            const double count = CDbl(tmrQuit.tag());
            mnuFile.setEnabled(false);
            mnuHelp.setEnabled(false);
            lblStatus.setCaption("Done, quitting in " + ShortestText(count - 1) + "...");
            tmrQuit.setEnabled(true);
        }
    } catch (const RuntimeError&) {
        FreeingFailed();
        return;
    }
    system_.releaseBlock();
}

void FrmMain::FreeingFailed() {
    failureBoxOpen_ = true;
    try {
        system_.messageBox("Error defragmenting the memory!", "Error", 16);
    } catch (...) {
        failureBoxOpen_ = false;
        system_.releaseBlock();
        throw;
    }
    failureBoxOpen_ = false;
    lblStatus.setCaption("Ready");
    system_.releaseBlock();
}

}  // namespace qx
