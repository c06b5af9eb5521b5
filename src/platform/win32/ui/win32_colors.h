// Colours of the window model as GDI colours: 0x00BBGGRR values are already
// COLORREFs; the system colours 0x800000nn come from GetSysColor(nn).
#pragma once

#include <windows.h>

#include <cstdint>

namespace qx::win32ui {

bool isSystemColor(std::uint32_t color);
COLORREF toColorRef(std::uint32_t color);

}  // namespace qx::win32ui
