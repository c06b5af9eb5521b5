#include "platform/linux/freeing_text.h"

#include <charconv>

#include "platform/linux/commit_check.h"

namespace qx::linuxos {

namespace {

// Takes the next line off the front of `text`, without its newline.
std::string_view nextLine(std::string_view& text) {
    const std::size_t newline = text.find('\n');
    const std::string_view line = text.substr(0, newline);
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    return line;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Takes the next blank-separated field off the front of `line`.
std::string_view nextField(std::string_view& line) {
    std::size_t start = 0;
    while (start < line.size() && isBlank(line[start])) ++start;
    std::size_t end = start;
    while (end < line.size() && !isBlank(line[end])) ++end;
    const std::string_view field = line.substr(start, end - start);
    line.remove_prefix(end);
    return field;
}

bool parseWhole(std::string_view text, std::uint64_t& value) {
    const char* const end = text.data() + text.size();
    const auto [after, error] = std::from_chars(text.data(), end, value);
    return error == std::errc{} && after == end && !text.empty();
}

// The path of the "<id>:<controllers>:<path>" line that `wanted` picks.
template <typename Wanted>
std::optional<std::string_view> cgroupPath(std::string_view text, Wanted wanted) {
    while (!text.empty()) {
        std::string_view line = nextLine(text);
        const std::size_t first = line.find(':');
        if (first == std::string_view::npos) continue;
        const std::size_t second = line.find(':', first + 1);
        if (second == std::string_view::npos) continue;
        const std::string_view id = line.substr(0, first);
        const std::string_view controllers = line.substr(first + 1, second - first - 1);
        const std::string_view path = line.substr(second + 1);
        if (!path.empty() && path.front() == '/' && wanted(id, controllers)) return path;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::uint64_t> parseZramSwapFree(std::string_view procSwaps) {
    if (nextLine(procSwaps).empty()) return std::nullopt;  // not even the heading
    std::uint64_t free = 0;
    while (!procSwaps.empty()) {
        std::string_view line = nextLine(procSwaps);
        const std::string_view name = nextField(line);
        if (name.empty()) continue;
        nextField(line);  // type
        std::uint64_t size = 0;
        std::uint64_t used = 0;
        if (!parseWhole(nextField(line), size) || !parseWhole(nextField(line), used)) {
            return std::nullopt;
        }
        if (name.starts_with("/dev/zram") && size > used) free += (size - used) * 1024;
    }
    return free;
}

std::optional<std::string_view> unifiedCgroupPath(std::string_view procSelfCgroup) {
    return cgroupPath(procSelfCgroup, [](std::string_view id, std::string_view controllers) {
        return id == "0" && controllers.empty();
    });
}

std::optional<std::string_view> memoryCgroupPath(std::string_view procSelfCgroup) {
    return cgroupPath(procSelfCgroup, [](std::string_view, std::string_view controllers) {
        while (!controllers.empty()) {
            const std::size_t comma = controllers.find(',');
            if (controllers.substr(0, comma) == "memory") return true;
            controllers.remove_prefix(comma == std::string_view::npos ? controllers.size()
                                                                      : comma + 1);
        }
        return false;
    });
}

std::optional<std::string_view> parentCgroup(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    if (path.size() <= 1) return std::nullopt;
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return std::nullopt;
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::optional<std::uint64_t> parseCgroupBytes(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    if (text == "max") return kNoLimit;
    std::uint64_t value = 0;
    if (!parseWhole(text, value)) return std::nullopt;
    return value;
}

}  // namespace qx::linuxos
