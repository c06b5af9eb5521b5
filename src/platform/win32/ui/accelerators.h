// The model's menu shortcuts ("Ctrl+F", "Ctrl+Shift+Q", "F1", "Del") as a
// Win32 accelerator table whose commands are the entries' menu commands.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "platform/ui/model.h"
#include "platform/win32/ui/menu_set.h"

namespace qx::win32ui {

// One shortcut as an accelerator for `command`; nothing for a text that
// names no key.
std::optional<ACCEL> parseShortcut(std::string_view shortcut, WORD command);

class AcceleratorTable {
public:
    // Every entry of the form with a shortcut it can read.
    AcceleratorTable(const ui::Form& form, const MenuSet& menus);
    ~AcceleratorTable();
    AcceleratorTable(const AcceleratorTable&) = delete;
    AcceleratorTable& operator=(const AcceleratorTable&) = delete;

    HACCEL handle() const { return table_; }
    int size() const { return size_; }

private:
    HACCEL table_ = nullptr;
    int size_ = 0;
};

}  // namespace qx::win32ui
