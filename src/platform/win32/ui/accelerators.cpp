#include "platform/win32/ui/accelerators.h"

#include <cctype>
#include <string>
#include <vector>

namespace qx::win32ui {

namespace {

bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::optional<WORD> virtualKey(std::string_view key) {
    if (key.size() == 1) {
        const auto c = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(key[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<WORD>(c);
        return std::nullopt;
    }
    if ((key[0] == 'F' || key[0] == 'f') && key.size() <= 3) {
        int number = 0;
        for (char c : key.substr(1)) {
            if (c < '0' || c > '9') return std::nullopt;
            number = number * 10 + (c - '0');
        }
        if (number >= 1 && number <= 24) return static_cast<WORD>(VK_F1 + number - 1);
        return std::nullopt;
    }
    struct Named {
        const char* name;
        WORD key;
    };
    static constexpr Named kNamed[] = {{"Del", VK_DELETE}, {"Delete", VK_DELETE}, {"Ins", VK_INSERT},
                                       {"Insert", VK_INSERT}, {"Esc", VK_ESCAPE}, {"Enter", VK_RETURN},
                                       {"Home", VK_HOME},    {"End", VK_END},       {"Tab", VK_TAB},
                                       {"Space", VK_SPACE},  {"Backspace", VK_BACK}};
    for (const Named& n : kNamed) {
        if (sameText(key, n.name)) return n.key;
    }
    return std::nullopt;
}

}  // namespace

std::optional<ACCEL> parseShortcut(std::string_view shortcut, WORD command) {
    BYTE flags = FVIRTKEY;
    while (true) {
        const std::size_t plus = shortcut.find('+');
        if (plus == std::string_view::npos || plus + 1 == shortcut.size()) break;
        const std::string_view modifier = shortcut.substr(0, plus);
        if (sameText(modifier, "Ctrl")) {
            flags |= FCONTROL;
        } else if (sameText(modifier, "Shift")) {
            flags |= FSHIFT;
        } else if (sameText(modifier, "Alt")) {
            flags |= FALT;
        } else {
            return std::nullopt;
        }
        shortcut.remove_prefix(plus + 1);
    }
    if (shortcut.empty()) return std::nullopt;
    const std::optional<WORD> key = virtualKey(shortcut);
    if (!key) return std::nullopt;
    return ACCEL{flags, *key, command};
}

AcceleratorTable::AcceleratorTable(const ui::Form& form, const MenuSet& menus) {
    std::vector<ACCEL> accels;
    for (const ui::MenuItem* item : form.allMenuItems()) {
        if (item->shortcut().empty()) continue;
        const UINT command = menus.commandOf(*item);
        if (command == 0) continue;
        if (auto accel = parseShortcut(item->shortcut(), static_cast<WORD>(command))) accels.push_back(*accel);
    }
    size_ = static_cast<int>(accels.size());
    if (!accels.empty()) table_ = CreateAcceleratorTableW(accels.data(), size_);
}

AcceleratorTable::~AcceleratorTable() {
    if (table_) DestroyAcceleratorTable(table_);
}

}  // namespace qx::win32ui
