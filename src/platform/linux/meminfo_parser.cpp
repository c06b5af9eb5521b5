#include "platform/linux/meminfo_parser.h"

#include <charconv>

namespace qx::linuxos {

namespace {

enum Key : unsigned {
    kMemTotal,
    kMemFree,
    kMemAvailable,
    kBuffers,
    kCached,
    kSwapTotal,
    kSwapFree,
    kCommitLimit,
    kCommittedAs,
    kKeyCount
};

constexpr std::string_view kKeyNames[kKeyCount] = {
    "MemTotal", "MemFree",   "MemAvailable", "Buffers",      "Cached",
    "SwapTotal", "SwapFree", "CommitLimit",  "Committed_AS",
};

constexpr unsigned bit(Key key) { return 1u << key; }

constexpr unsigned kRequired = bit(kMemTotal) | bit(kMemFree) | bit(kBuffers) | bit(kCached) |
                               bit(kSwapTotal) | bit(kSwapFree);
constexpr unsigned kAll = (1u << kKeyCount) - 1;

Key keyNamed(std::string_view name) {
    for (unsigned k = 0; k < kKeyCount; ++k) {
        if (kKeyNames[k] == name) return static_cast<Key>(k);
    }
    return kKeyCount;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Reads "<blanks><decimal><blanks>kB" that fills `rest` exactly.
bool parseKilobytes(std::string_view rest, std::uint64_t& value) {
    const char* p = rest.data();
    const char* const end = p + rest.size();
    while (p != end && isBlank(*p)) ++p;
    const auto [after, error] = std::from_chars(p, end, value);
    if (error != std::errc{} || after == p) return false;
    p = after;
    if (p == end || !isBlank(*p)) return false;
    while (p != end && isBlank(*p)) ++p;
    return std::string_view(p, static_cast<std::size_t>(end - p)) == "kB";
}

}  // namespace

bool parseMeminfo(std::string_view text, MeminfoValues& values) {
    std::uint64_t found[kKeyCount] = {};
    unsigned seen = 0;
    while (!text.empty() && seen != kAll) {
        const std::size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);

        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const Key key = keyNamed(line.substr(0, colon));
        if (key == kKeyCount) continue;
        if (!parseKilobytes(line.substr(colon + 1), found[key])) return false;
        seen |= bit(key);
    }
    if ((seen & kRequired) != kRequired) return false;

    values.memTotal = found[kMemTotal];
    values.memFree = found[kMemFree];
    values.memAvailable = found[kMemAvailable];
    values.buffers = found[kBuffers];
    values.cached = found[kCached];
    values.swapTotal = found[kSwapTotal];
    values.swapFree = found[kSwapFree];
    values.commitLimit = found[kCommitLimit];
    values.committedAs = found[kCommittedAs];
    values.hasMemAvailable = (seen & bit(kMemAvailable)) != 0;
    values.hasCommitValues = (seen & (bit(kCommitLimit) | bit(kCommittedAs))) ==
                             (bit(kCommitLimit) | bit(kCommittedAs));
    return true;
}

}  // namespace qx::linuxos
