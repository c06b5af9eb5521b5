#include "platform/win32/ui/message_loop.h"

#include <algorithm>

namespace qx::win32ui {

namespace {

bool within(HWND window, HWND target) { return target == window || IsChild(window, target); }

}  // namespace

void MessageLoop::setAccelerators(HWND window, HACCEL table) {
    acceleratorWindow_ = window;
    accelerators_ = table;
}

void MessageLoop::addDialogWindow(HWND window) {
    if (window && std::find(dialogs_.begin(), dialogs_.end(), window) == dialogs_.end()) dialogs_.push_back(window);
}

void MessageLoop::removeDialogWindow(HWND window) { std::erase(dialogs_, window); }

void MessageLoop::handle(MSG& message) {
    if (accelerators_ && acceleratorWindow_ && within(acceleratorWindow_, message.hwnd) &&
        TranslateAcceleratorW(acceleratorWindow_, accelerators_, &message)) {
        return;
    }
    for (HWND dialog : dialogs_) {
        if (within(dialog, message.hwnd) && IsDialogMessageW(dialog, &message)) return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int MessageLoop::run() {
    MSG message;
    while (true) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) {
            exitCode_ = 1;
            return exitCode_;
        }
        handle(message);
    }
    exitCode_ = static_cast<int>(message.wParam);
    return exitCode_;
}

bool MessageLoop::runPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            exitCode_ = static_cast<int>(message.wParam);
            return false;
        }
        handle(message);
    }
    return true;
}

}  // namespace qx::win32ui
