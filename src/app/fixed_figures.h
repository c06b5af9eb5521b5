// A testing aid of both programs ("--fixed-figures TOTAL,FREE,FREED"): the
// program runs on memory figures given in megabytes instead of the machine's.
// Physical memory and the page file both read TOTAL with FREE free, and FREED
// free once a freeing block has been made; the block itself takes no memory.
// The processor times and the process's address space stay the machine's.
#pragma once

#include <atomic>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/generic/figure_rules.h"
#include "platform/system.h"
#include "platform/watched_block.h"

namespace qx {

struct FixedFigures {
    std::uint64_t totalMb = 0;
    std::uint64_t freeMb = 0;
    std::uint64_t freedMb = 0;
};

// "TOTAL,FREE,FREED", three whole numbers of megabytes, FREE and FREED at
// most TOTAL; nothing for anything else.
inline std::optional<FixedFigures> ParseFixedFigures(std::string_view text) {
    std::uint64_t numbers[3] = {};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 3; ++i) {
        const auto [next, error] = std::from_chars(at, end, numbers[i]);
        if (error != std::errc() || numbers[i] > (std::uint64_t{1} << 40)) return std::nullopt;
        at = next;
        if (i < 2) {
            if (at == end || *at != ',') return std::nullopt;
            ++at;
        }
    }
    if (at != end || numbers[1] > numbers[0] || numbers[2] > numbers[0]) return std::nullopt;
    return FixedFigures{numbers[0], numbers[1], numbers[2]};
}

class FixedFiguresSystem final : public MemorySystem, public FreeingSystem, public WatchedBlock {
public:
    FixedFiguresSystem(MemorySystem& machine, FixedFigures figures) : machine_(machine), figures_(figures) {}

    bool globalMemoryStatusEx(MemoryStatusEx& status) override {
        machine_.globalMemoryStatusEx(status);
        status.totalPhys = status.totalPageFile = figures_.totalMb << 20;
        status.availPhys = status.availPageFile = freeMb() << 20;
        return true;
    }
    void globalMemoryStatus(MemoryStatus& status) override {
        machine_.globalMemoryStatus(status);
        status.totalPhys = status.totalPageFile = generic::legacyFigure(figures_.totalMb << 20);
        status.availPhys = status.availPageFile = generic::legacyFigure(freeMb() << 20);
    }
    bool getSystemTimes(SystemTimes& times) override { return machine_.getSystemTimes(times); }

    // May be called on a thread of its own.
    bool createBlock(std::uint64_t) override {
        freed_.store(true);
        return true;
    }
    void releaseBlock() override {}

    // The same block for an event loop that waits for it: made at once.
    BlockState beginBlock(std::uint64_t characters) override {
        createBlock(characters);
        return BlockState::Ready;
    }
    int blockWaitHandle() const override { return -1; }
    std::int64_t blockDeadlineMs() const override { return 0; }
    BlockState settleBlock(bool) override { return BlockState::Ready; }
    std::string blockRefusal() const override { return {}; }

private:
    std::uint64_t freeMb() const { return freed_.load() ? figures_.freedMb : figures_.freeMb; }

    MemorySystem& machine_;
    FixedFigures figures_;
    std::atomic<bool> freed_{false};
};

}  // namespace qx
