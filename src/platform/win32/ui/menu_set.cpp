#include "platform/win32/ui/menu_set.h"

#include "platform/win32/utf16.h"

namespace qx::win32ui {

std::wstring menuText(std::string_view caption, std::string_view shortcut) {
    std::wstring text = win32::toUtf16ForDisplay(caption);
    if (!shortcut.empty()) {
        text.push_back(L'\t');
        text += win32::toUtf16ForDisplay(shortcut);
    }
    return text;
}

MenuSet::MenuSet(ui::Form& form) {
    entries_.reserve(form.allMenuItems().size());
    if (!form.menus().empty()) bar_ = CreateMenu();
    for (ui::MenuItem* top : form.menus()) build(*top, bar_);
}

MenuSet::~MenuSet() {
    // Take every drop-down out of its parent first, so each HMENU is
    // destroyed exactly once below.
    for (const Entry& e : entries_) {
        if (!e.submenu) continue;
        while (GetMenuItemCount(e.submenu) > 0) RemoveMenu(e.submenu, 0, MF_BYPOSITION);
    }
    if (bar_) {
        while (GetMenuItemCount(bar_) > 0) RemoveMenu(bar_, 0, MF_BYPOSITION);
        DestroyMenu(bar_);
    }
    for (const Entry& e : entries_) {
        if (e.submenu) DestroyMenu(e.submenu);
    }
}

void MenuSet::build(ui::MenuItem& item, HMENU parent) {
    const bool topLevel = item.parent() == nullptr;
    Entry entry{&item, parent, nullptr, kFirstCommand + static_cast<UINT>(entries_.size()), item.caption(),
                item.checked(), item.enabled(), item.visible(), ui::MenuSync(item)};
    if (topLevel || !item.children().empty()) entry.submenu = CreatePopupMenu();
    entries_.push_back(entry);
    if (parent && entry.visible) insert(entry, static_cast<UINT>(GetMenuItemCount(parent)));
    const HMENU own = entry.submenu;
    for (ui::MenuItem* child : item.children()) build(*child, own);
}

MenuSet::Entry* MenuSet::find(const ui::MenuItem& item) {
    for (Entry& e : entries_) {
        if (e.item == &item) return &e;
    }
    return nullptr;
}

const MenuSet::Entry* MenuSet::find(const ui::MenuItem& item) const {
    for (const Entry& e : entries_) {
        if (e.item == &item) return &e;
    }
    return nullptr;
}

HMENU MenuSet::menuOf(const ui::MenuItem& item) const {
    const Entry* e = find(item);
    return e ? e->submenu : nullptr;
}

UINT MenuSet::commandOf(const ui::MenuItem& item) const {
    const Entry* e = find(item);
    return e ? e->command : 0;
}

ui::MenuItem* MenuSet::itemForCommand(UINT command) const {
    if (command < kFirstCommand || command - kFirstCommand >= entries_.size()) return nullptr;
    return entries_[command - kFirstCommand].item;
}

void MenuSet::insert(const Entry& entry, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    if (entry.item->separator()) {
        info.fMask = MIIM_FTYPE | MIIM_ID;
        info.fType = MFT_SEPARATOR;
        info.wID = entry.command;
        InsertMenuItemW(entry.parent, position, TRUE, &info);
        return;
    }
    const std::wstring text = menuText(entry.caption, entry.item->shortcut());
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | (entry.submenu ? MIIM_SUBMENU : 0);
    info.fType = MFT_STRING;
    info.fState = (entry.checked ? MFS_CHECKED : MFS_UNCHECKED) | (entry.enabled ? MFS_ENABLED : MFS_GRAYED);
    info.wID = entry.command;
    info.hSubMenu = entry.submenu;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    InsertMenuItemW(entry.parent, position, TRUE, &info);
}

int MenuSet::positionOf(const Entry& entry) const {
    if (!entry.parent) return -1;
    const int count = GetMenuItemCount(entry.parent);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(entry.parent, static_cast<UINT>(i), TRUE, &info)) continue;
        if (entry.submenu ? info.hSubMenu == entry.submenu : info.wID == entry.command) return i;
    }
    return -1;
}

void MenuSet::relist(HMENU parent) {
    while (GetMenuItemCount(parent) > 0) RemoveMenu(parent, 0, MF_BYPOSITION);
    UINT position = 0;
    for (const Entry& e : entries_) {
        if (e.parent == parent && e.visible) insert(e, position++);
    }
}

void MenuSet::touched(const Entry& entry) {
    if (entry.parent && entry.parent == bar_) barChanged_ = true;
}

void MenuSet::updateState(Entry& entry) {
    const int position = positionOf(entry);
    if (position < 0 || entry.item->separator()) return;
    const std::wstring text = menuText(entry.caption, entry.item->shortcut());
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_STRING;
    info.fState = (entry.checked ? MFS_CHECKED : MFS_UNCHECKED) | (entry.enabled ? MFS_ENABLED : MFS_GRAYED);
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    SetMenuItemInfoW(entry.parent, static_cast<UINT>(position), TRUE, &info);
    touched(entry);
}

void MenuSet::setCaption(const ui::MenuItem& item, std::string_view caption) {
    Entry* e = find(item);
    if (!e || e->caption == caption) return;
    e->caption.assign(caption);
    updateState(*e);
}

void MenuSet::setChecked(const ui::MenuItem& item, bool checked) {
    Entry* e = find(item);
    if (!e || e->checked == checked) return;
    e->checked = checked;
    updateState(*e);
}

void MenuSet::setEnabled(const ui::MenuItem& item, bool enabled) {
    Entry* e = find(item);
    if (!e || e->enabled == enabled) return;
    e->enabled = enabled;
    updateState(*e);
}

void MenuSet::setVisible(const ui::MenuItem& item, bool visible) {
    Entry* e = find(item);
    if (!e || e->visible == visible) return;
    e->visible = visible;
    if (!e->parent) return;
    relist(e->parent);
    touched(*e);
}

namespace {

// One entry's changes applied through the set functions.
struct EntryChanges final : ui::MenuChanges {
    EntryChanges(MenuSet& menus, const ui::MenuItem& item) : menus(menus), item(item) {}
    void setCaption(const std::string& caption) override { menus.setCaption(item, caption); }
    void setChecked(bool checked) override { menus.setChecked(item, checked); }
    void setEnabled(bool enabled) override { menus.setEnabled(item, enabled); }
    void setVisible(bool visible) override { menus.setVisible(item, visible); }
    MenuSet& menus;
    const ui::MenuItem& item;
};

}  // namespace

void MenuSet::syncFromModel() {
    for (Entry& e : entries_) {
        EntryChanges changes(*this, *e.item);
        e.sync.sync(changes);
    }
}

bool MenuSet::takeBarChanged() {
    const bool changed = barChanged_;
    barChanged_ = false;
    return changed;
}

}  // namespace qx::win32ui
