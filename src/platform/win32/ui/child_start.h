// How a control's child window is made: in its place, shown or hidden and
// with its text, as the model has it, so that no move, show and new text
// (each a round of messages, and under Wine of requests to its server)
// follow at once.
#pragma once

#include <windows.h>

#include <string>

#include "platform/ui/pixels.h"

namespace qx::win32ui {

struct ChildStart {
    ui::PixelRect rect;  // in the parent's client pixels
    bool visible = false;
    std::wstring text;
};

inline HWND createChildWindow(DWORD exStyle, const wchar_t* windowClass, DWORD style, const ChildStart& start,
                              HWND parent, int id, HINSTANCE instance, void* param = nullptr) {
    return CreateWindowExW(exStyle, windowClass, start.text.c_str(),
                           WS_CHILD | (start.visible ? WS_VISIBLE : 0) | style, start.rect.left, start.rect.top,
                           start.rect.width, start.rect.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, param);
}

}  // namespace qx::win32ui
