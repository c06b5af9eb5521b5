// The menus of one window as HMENUs: the menu bar with the visible top-level
// entries, a drop-down HMENU for every top-level entry (an invisible one,
// such as the hidden pop-up, is only shown through TrackPopupMenu) and for
// every entry with entries of its own, and a command id per entry. Captions
// keep their "&" mnemonics; an entry's shortcut is shown after a tab.
//
// The set* functions apply one property of one entry, for whoever tracks the
// model's changes; syncFromModel() applies whatever the shared change
// tracking (ui::MenuSync) reports since it last ran.
// Choosing an entry is the window's business (WM_COMMAND with commandOf()).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/model.h"
#include "platform/ui/view_sync.h"

namespace qx::win32ui {

class MenuSet {
public:
    static constexpr UINT kFirstCommand = 1000;

    explicit MenuSet(ui::Form& form);
    ~MenuSet();
    MenuSet(const MenuSet&) = delete;
    MenuSet& operator=(const MenuSet&) = delete;

    // The menu bar (nullptr when the form has no menus). The window that
    // shows it must SetMenu(window, nullptr) before it is destroyed: the
    // HMENUs belong to this set.
    HMENU bar() const { return bar_; }
    // The drop-down of a top-level entry or of an entry with entries.
    HMENU menuOf(const ui::MenuItem& item) const;
    UINT commandOf(const ui::MenuItem& item) const;
    ui::MenuItem* itemForCommand(UINT command) const;

    void setCaption(const ui::MenuItem& item, std::string_view caption);
    void setChecked(const ui::MenuItem& item, bool checked);
    void setEnabled(const ui::MenuItem& item, bool enabled);
    void setVisible(const ui::MenuItem& item, bool visible);
    void syncFromModel();

    // True once after a change to the bar itself (then DrawMenuBar).
    bool takeBarChanged();

private:
    struct Entry {
        ui::MenuItem* item;
        HMENU parent;   // the HMENU it is listed in (the bar for a top-level entry)
        HMENU submenu;  // its own drop-down, if any
        UINT command;
        std::string caption;
        bool checked;
        bool enabled;
        bool visible;
        ui::MenuSync sync;
    };
    Entry* find(const ui::MenuItem& item);
    const Entry* find(const ui::MenuItem& item) const;
    void build(ui::MenuItem& item, HMENU parent);
    int positionOf(const Entry& entry) const;
    void insert(const Entry& entry, UINT position);
    void relist(HMENU parent);
    void updateState(Entry& entry);
    void touched(const Entry& entry);

    std::vector<Entry> entries_;
    HMENU bar_ = nullptr;
    bool barChanged_ = false;
};

// "&Free memory" with its shortcut "Ctrl+F" as the menu shows it.
std::wstring menuText(std::string_view caption, std::string_view shortcut);

}  // namespace qx::win32ui
