// The message loop: GetMessageW, then the accelerator table of the window
// whose keys it is (the main window's shortcuts), then the dialog manager
// for windows that want Tab, Enter and Esc handled (the About box), then
// TranslateMessage and DispatchMessageW. Handlers never run here directly:
// they run from the window procedures, each behind guardedCall.
#pragma once

#include <windows.h>

#include <vector>

namespace qx::win32ui {

class MessageLoop {
public:
    // Keys typed in `window` or its children go through `table` first.
    void setAccelerators(HWND window, HACCEL table);
    void addDialogWindow(HWND window);
    void removeDialogWindow(HWND window);

    // Runs until WM_QUIT; returns its exit code.
    int run();
    // Handles the messages already waiting, then returns; false once WM_QUIT
    // has been seen (its code in exitCode()).
    bool runPending();
    int exitCode() const { return exitCode_; }

    // Ends run() with `code` once the current handler has returned.
    static void quit(int code) { PostQuitMessage(code); }

private:
    void handle(MSG& message);

    HWND acceleratorWindow_ = nullptr;
    HACCEL accelerators_ = nullptr;
    std::vector<HWND> dialogs_;
    int exitCode_ = 0;
};

}  // namespace qx::win32ui
