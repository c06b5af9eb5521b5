// The menus of one window: a QMenu per top-level entry (in the menu bar
// while the entry is visible; an invisible one such as a pop-up menu is
// only shown through popup()), a QAction per entry, separators, submenus,
// shortcuts and check marks. Choosing an entry runs the model's click
// through the dispatcher; the check marks are the handlers' to set.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/dispatcher.h"
#include "platform/ui/model.h"

namespace qx::qt {

class MenuView {
public:
    // `bar` receives the top-level menus; `owner` parents them.
    MenuView(ui::Form& form, ui::Dispatcher& dispatcher, QMenuBar* bar, QWidget* owner);
    ~MenuView();
    MenuView(const MenuView&) = delete;
    MenuView& operator=(const MenuView&) = delete;

    void push();
    // The form is gone: entries chosen from now on do nothing.
    void detach() { detached_ = true; }
    bool contains(const ui::MenuItem& item) const;
    // The menu of an entry that has entries of its own (nullptr otherwise).
    QMenu* menuOf(const ui::MenuItem& item) const;
    QAction* actionOf(const ui::MenuItem& item) const;

private:
    struct Entry {
        ui::MenuItem* item;
        QAction* action;  // the menu's own action for an entry with a menu
        QMenu* menu;
        bool topLevel;
        std::uint64_t seen;
        std::string caption;
    };
    void build(ui::MenuItem& item, QMenu* parentMenu, QWidget* owner);
    void pushEntry(Entry& entry);
    void chosen(std::size_t index);

    ui::Form& form_;
    ui::Dispatcher& dispatcher_;
    std::vector<Entry> entries_;
    bool detached_ = false;
};

}  // namespace qx::qt
