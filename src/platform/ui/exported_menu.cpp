#include "platform/ui/exported_menu.h"

namespace qx::ui {

namespace {

ExportedProperties propertiesOf(const MenuItem& item) {
    ExportedProperties out;
    if (item.separator()) {
        out["type"] = std::string("separator");
    } else {
        out["label"] = exportedLabel(item.caption());
        if (item.checked()) {
            out["toggle-type"] = std::string("checkmark");
            out["toggle-state"] = 1;
        }
    }
    if (!item.enabled()) out["enabled"] = false;
    if (!item.visible()) out["visible"] = false;
    if (!item.children().empty()) out["children-display"] = std::string("submenu");
    return out;
}

}  // namespace

std::string exportedLabel(std::string_view caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            } else {
                out += '_';
            }
        } else if (c == '_') {
            out += "__";
        } else {
            out += c;
        }
    }
    return out;
}

ExportedMenu::ExportedMenu(MenuItem& root) {
    entries_.push_back({nullptr, {}, {{"children-display", std::string("submenu")}}, 0});
    for (MenuItem* child : root.children()) add(*child, 0);
}

void ExportedMenu::add(MenuItem& item, int parent) {
    const int id = static_cast<int>(entries_.size());
    entries_.push_back({&item, {}, propertiesOf(item), item.revision()});
    entries_[static_cast<std::size_t>(parent)].children.push_back(id);
    for (MenuItem* child : item.children()) add(*child, id);
}

const ExportedMenu::Entry* ExportedMenu::entry(int id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= entries_.size()) return nullptr;
    return &entries_[static_cast<std::size_t>(id)];
}

ExportedMenu::Changes ExportedMenu::refresh() {
    Changes changes;
    for (std::size_t id = 1; id < entries_.size(); ++id) {
        Entry& entry = entries_[id];
        if (entry.item->revision() == entry.seen) continue;
        entry.seen = entry.item->revision();
        ExportedProperties now = propertiesOf(*entry.item);
        ExportedProperties updated;
        std::vector<std::string> removed;
        for (const auto& [name, value] : now) {
            auto old = entry.properties.find(name);
            if (old == entry.properties.end() || old->second != value) updated.emplace(name, value);
        }
        for (const auto& [name, value] : entry.properties) {
            if (!now.count(name)) removed.push_back(name);
        }
        if (!updated.empty()) changes.updated.emplace_back(static_cast<int>(id), std::move(updated));
        if (!removed.empty()) changes.removed.emplace_back(static_cast<int>(id), std::move(removed));
        entry.properties = std::move(now);
    }
    if (changes.any()) ++revision_;
    return changes;
}

}  // namespace qx::ui
