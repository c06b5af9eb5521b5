// A menu of the model as a desktop shows it for another program
// (com.canonical.dbusmenu): its entries numbered in tree order, the root 0,
// each with the properties that differ from the protocol's defaults, and a
// revision that grows whenever something changes. The toolkit side only
// puts this on the bus.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/ui/model.h"

namespace qx::ui {

using ExportedValue = std::variant<bool, int, std::string>;
using ExportedProperties = std::map<std::string, ExportedValue>;

// "&Hide" becomes "_Hide": the ampersand marks the access key in the model,
// the underscore on the bus; "&&" is a plain "&" and "_" is written "__".
std::string exportedLabel(std::string_view caption);

class ExportedMenu {
public:
    struct Entry {
        MenuItem* item;  // nullptr for the root
        std::vector<int> children;
        ExportedProperties properties;
        std::uint64_t seen = 0;  // the item's revision the properties are from
    };
    // What a refresh found changed: new or changed values, and names that
    // went back to their defaults.
    struct Changes {
        std::vector<std::pair<int, ExportedProperties>> updated;
        std::vector<std::pair<int, std::vector<std::string>>> removed;
        bool any() const { return !updated.empty() || !removed.empty(); }
    };

    // `root`'s entries are the menu; `root` itself is not shown.
    explicit ExportedMenu(MenuItem& root);

    std::uint32_t revision() const { return revision_; }
    // nullptr for an id the menu doesn't have.
    const Entry* entry(int id) const;
    // Compares the model with what was last exported; a change raises the
    // revision. An unchanged entry costs one comparison.
    Changes refresh();

private:
    void add(MenuItem& item, int parent);

    std::vector<Entry> entries_;
    std::uint32_t revision_ = 1;
};

}  // namespace qx::ui
