#include "invariants.h"

#include <cmath>
#include <string_view>

namespace qx::soak {

namespace {

std::string number(double v) {
    std::string text = std::to_string(v);
    while (text.find('.') != std::string::npos && (text.back() == '0' || text.back() == '.')) {
        const bool dot = text.back() == '.';
        text.pop_back();
        if (dot) break;
    }
    return text;
}

// A visible box must lie within the width of the bar it belongs to.
std::optional<Violation> insideBar(const ui::Control& box, const ui::Control& bar) {
    if (!box.visible()) return std::nullopt;
    const double left = box.left();
    const double right = left + box.width();
    if (left >= 0 && box.width() >= 0 && right <= bar.width() && std::isfinite(right)) {
        return std::nullopt;
    }
    return Violation{box.name() + " (left " + number(left) + ", width " + number(box.width()) +
                         ") lies outside " + bar.name() + " (width " + number(bar.width()) + ")",
                     {box.name() + ".Left", box.name() + ".Width", bar.name() + ".Width",
                      "MemInfo.TotalPhysical", "MemInfo.FreePhysical", "MemInfo.TotalPagefile",
                      "MemInfo.FreePagefile"}};
}

bool isStatusText(std::string_view text) {
    if (text == "Ready" || text == "Freeing up memory..." || text == "Out of memory, freeing...") {
        return true;
    }
    // The quit countdown shows 3, 2, 1, 0 before the program ends.
    constexpr std::string_view prefix = "Done, quitting in ";
    if (text.substr(0, prefix.size()) != prefix) return false;
    const std::string_view rest = text.substr(prefix.size());
    return rest.size() == 4 && rest[0] >= '0' && rest[0] <= '3' && rest.substr(1) == "...";
}

}  // namespace

std::optional<Violation> checkInvariants(FrmMain& m, const RunWatch& watch) {
    if (!watch.nestedRun.empty()) {
        return Violation{"a freeing run started inside another: " + watch.nestedRun, {}};
    }
    // The window's definition leaves the boxes where the first tick with a
    // sample places them.
    const std::pair<const ui::Control*, const ui::Control*> boxes[] = {
        {&m.picAvailableRAM, &m.picUsedPhysical}, {&m.picOldPhysical, &m.picUsedPhysical},
        {&m.picAvailableSWAP, &m.picUsedPagefile}, {&m.picOldPagefile, &m.picUsedPagefile}};
    for (const auto& [box, bar] : boxes) {
        if (!watch.barsPlaced) break;
        if (auto v = insideBar(*box, *bar)) return v;
    }
    if (m.HistoryIndex < 0 || m.HistoryIndex > kHistorySlots - 1) {
        return Violation{"HistoryIndex " + std::to_string(m.HistoryIndex) + " is outside 0-2000",
                         {"HistoryIndex"}};
    }
    if (!isStatusText(m.lblStatus.caption())) {
        return Violation{"the status reads \"" + m.lblStatus.caption() + "\"", {"lblStatus.Caption"}};
    }
    if (watch.haveTick) {
        const std::string& wanted = watch.tickWarning ? m.TrayWarn.picture : m.TrayIcon.picture;
        if (m.TrayData.hIcon != wanted) {
            return Violation{"the icon is \"" + m.TrayData.hIcon + "\" after a sample that asks for \"" +
                                 wanted + "\"",
                             {"TrayData.hIcon", "MemInfo.TotalPhysical", "MemInfo.FreePhysical"}};
        }
    }
    return std::nullopt;
}

}  // namespace qx::soak
