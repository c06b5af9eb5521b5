// The menus of one window: a QMenu per top-level entry (in the menu bar
// while the entry is visible; an invisible one such as a pop-up menu is
// only shown through popup()), a QAction per entry, separators, submenus,
// shortcuts and check marks. Choosing an entry runs the model's click
// through the dispatcher; the check marks are the handlers' to set.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <deque>
#include <string>

#include "platform/ui/dispatcher.h"
#include "platform/ui/model.h"
#include "platform/ui/view_sync.h"

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
    // Applies one entry's changes to its action.
    struct Entry final : ui::MenuChanges {
        Entry(ui::MenuItem& item, bool topLevel) : item(&item), topLevel(topLevel), sync(item) {}
        void setCaption(const std::string& caption) override;
        void setChecked(bool checked) override;
        void setEnabled(bool enabled) override;
        void setVisible(bool visible) override;

        ui::MenuItem* item;
        QAction* action = nullptr;  // the menu's own action for an entry with a menu
        QMenu* menu = nullptr;
        bool topLevel;
        ui::MenuSync sync;
    };
    void build(ui::MenuItem& item, QMenu* parentMenu, QWidget* owner);
    void chosen(std::size_t index);

    ui::Form& form_;
    ui::Dispatcher& dispatcher_;
    std::deque<Entry> entries_;  // stays in place as it grows
    bool detached_ = false;
};

}  // namespace qx::qt
