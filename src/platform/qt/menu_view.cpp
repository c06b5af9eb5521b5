#include "platform/qt/menu_view.h"

#include <QKeySequence>

namespace qx::qt {

MenuView::MenuView(ui::Form& form, ui::Dispatcher& dispatcher, QMenuBar* bar, QWidget* owner)
    : form_(form), dispatcher_(dispatcher) {
    for (ui::MenuItem* top : form.menus()) build(*top, nullptr, owner);
    if (bar) {
        // A pop-up menu (hidden from the start) is no entry of the menu bar.
        for (ui::MenuItem* top : form.menus()) {
            if (top->visible()) bar->addAction(actionOf(*top));
        }
    }
    push();
}

MenuView::~MenuView() {
    // The menus go with the view: their entries call back into it.
    for (Entry& e : entries_) {
        if (e.topLevel) delete e.menu;
    }
}

void MenuView::build(ui::MenuItem& item, QMenu* parentMenu, QWidget* owner) {
    const std::size_t index = entries_.size();
    Entry& entry = entries_.emplace_back(item, parentMenu == nullptr);
    if (!item.children().empty() || !parentMenu) {
        entry.menu = parentMenu ? parentMenu->addMenu(QString()) : new QMenu(owner);
        entry.action = entry.menu->menuAction();
    } else if (item.separator()) {
        entry.action = parentMenu->addSeparator();
    } else {
        entry.action = parentMenu->addAction(QString());
        if (!item.shortcut().empty()) {
            entry.action->setShortcut(QKeySequence(QString::fromStdString(item.shortcut())));
        }
        QObject::connect(entry.action, &QAction::triggered, entry.action, [this, index] { chosen(index); });
    }
    QMenu* menu = entry.menu;
    for (ui::MenuItem* child : item.children()) build(*child, menu, owner);
}

void MenuView::chosen(std::size_t index) {
    if (detached_) return;
    ui::MenuItem* item = entries_[index].item;
    dispatcher_.deliver([this, item] { form_.clickMenu(*item); });
    if (dispatcher_.ended()) return;
    // The toolkit flips a checkable entry by itself; the handler decides.
    Entry& entry = entries_[index];
    entry.sync.forget();
    entry.sync.sync(entry);
}

void MenuView::push() {
    if (detached_) return;
    for (Entry& entry : entries_) entry.sync.sync(entry);
}

void MenuView::Entry::setCaption(const std::string& caption) { action->setText(QString::fromStdString(caption)); }

void MenuView::Entry::setChecked(bool checked) {
    if (menu) return;  // an entry with a menu of its own shows no mark
    if (checked) action->setCheckable(true);
    action->setChecked(checked);
    if (!checked) action->setCheckable(false);
}

void MenuView::Entry::setEnabled(bool enabled) { action->setEnabled(enabled); }
void MenuView::Entry::setVisible(bool visible) { action->setVisible(visible); }

bool MenuView::contains(const ui::MenuItem& item) const { return actionOf(item) != nullptr; }

QMenu* MenuView::menuOf(const ui::MenuItem& item) const {
    for (const Entry& e : entries_) {
        if (e.item == &item) return e.menu;
    }
    return nullptr;
}

QAction* MenuView::actionOf(const ui::MenuItem& item) const {
    for (const Entry& e : entries_) {
        if (e.item == &item) return e.action;
    }
    return nullptr;
}

}  // namespace qx::qt
