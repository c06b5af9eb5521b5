#include "platform/qt/menu_view.h"

#include <QKeySequence>

namespace qx::qt {

MenuView::MenuView(ui::Form& form, ui::Dispatcher& dispatcher, QMenuBar* bar, QWidget* owner)
    : form_(form), dispatcher_(dispatcher) {
    entries_.reserve(form.allMenuItems().size());
    for (ui::MenuItem* top : form.menus()) build(*top, nullptr, owner);
    if (bar) {
        for (ui::MenuItem* top : form.menus()) bar->addAction(actionOf(*top));
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
    Entry entry{&item, nullptr, nullptr, parentMenu == nullptr, ~std::uint64_t{0}, {}};
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
    entries_.push_back(entry);
    QMenu* menu = entry.menu;
    for (ui::MenuItem* child : item.children()) build(*child, menu, owner);
}

void MenuView::chosen(std::size_t index) {
    if (detached_) return;
    ui::MenuItem* item = entries_[index].item;
    dispatcher_.deliver([this, item] { form_.clickMenu(*item); });
    if (dispatcher_.ended()) return;
    // The toolkit flips a checkable entry by itself; the handler decides.
    entries_[index].seen = ~std::uint64_t{0};
    pushEntry(entries_[index]);
}

void MenuView::push() {
    if (detached_) return;
    for (Entry& entry : entries_) pushEntry(entry);
}

void MenuView::pushEntry(Entry& entry) {
    const ui::MenuItem& item = *entry.item;
    if (item.revision() == entry.seen) return;
    entry.seen = item.revision();
    if (!item.separator() && entry.caption != item.caption()) {
        entry.caption = item.caption();
        entry.action->setText(QString::fromStdString(entry.caption));
    }
    if (!entry.menu) {
        if (item.checked()) entry.action->setCheckable(true);
        entry.action->setChecked(item.checked());
        if (!item.checked()) entry.action->setCheckable(false);
    }
    entry.action->setEnabled(item.enabled());
    entry.action->setVisible(item.visible());
}

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
