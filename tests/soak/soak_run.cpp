#include "soak_run.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <exception>
#include <fstream>

#include "app/scenario/scenario_session.h"
#include "event_watch.h"
#include "script_generator.h"

namespace qx::soak {

namespace {

constexpr std::uint64_t kCheckpoints = 10;

std::uint64_t CheckpointSpacing(std::uint64_t ticks) { return std::max<std::uint64_t>(1, ticks / kCheckpoints); }

std::uint64_t HeapInUse() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#else
    return 0;
#endif
}

std::uint64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t size = 0, resident = 0;
    if (!(statm >> size >> resident)) return 0;
    return resident * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

// Counts readout ticks, notes the level of each finished tick's sample, and
// tells freeing runs inside one another apart.
void WatchTimers(FrmMain& m, RunWatch& watch, std::uint64_t& ticks) {
    auto& readout = m.tmrUpdateMemoryInformation;
    readout.onTimer = [inner = readout.onTimer, &m, &watch, &ticks] {
        ++ticks;
        inner();
        watch.haveTick = true;
        watch.tickWarning = m.MemInfo.TotalPhysical / 100 * 5 > m.MemInfo.FreePhysical;
        if (m.MemInfo.TotalPhysical != 0) watch.barsPlaced = true;
    };
    auto& freeing = m.tmrDefragMemory;
    freeing.onTimer = [inner = freeing.onTimer, &watch] {
        struct Depth {
            int& depth;
            explicit Depth(int& d) : depth(d) { ++depth; }
            ~Depth() { --depth; }
        } depth(watch.runDepth);
        inner();
    };
}

class Soak {
public:
    explicit Soak(const SoakOptions& options) : options_(options), generator_(options.seed) {}

    SoakResult run();

private:
    bool runLife();
    // Runs one line; false once a violation is found.
    bool execute(scenario::ScenarioSession& session, const std::string& text);
    void checkpoint();

    const SoakOptions& options_;
    ScriptGenerator generator_;
    SoakResult result_;
    RunWatch watch_;
    EventWatch events_;
    std::uint64_t nextCheckpoint_ = 0;
    bool recording_ = false;
};

SoakResult Soak::run() {
    const auto begin = std::chrono::steady_clock::now();
    const std::clock_t cpuBegin = std::clock();
    nextCheckpoint_ = CheckpointSpacing(options_.ticks);  // the first tenth warms up: rings filled, buffers grown
    events_.onLine = [this](const std::string& line) {
        if (watch_.runDepth > 1 && line.find(" block ") != std::string::npos && watch_.nestedRun.empty()) {
            watch_.nestedRun = line;
        }
    };
    while (result_.ticks < options_.ticks && !result_.violation) {
        recording_ = options_.recordLife == result_.lives;
        runLife();
        ++result_.lives;
        if (recording_) break;
    }
    result_.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    result_.cpuSeconds = static_cast<double>(std::clock() - cpuBegin) / CLOCKS_PER_SEC;

    if (options_.checkMemory && !result_.violation && result_.checkpoints.size() >= 2) {
        const Checkpoint& first = result_.checkpoints.front();
        std::uint64_t most = 0;
        for (const auto& c : result_.checkpoints) most = std::max(most, c.heapBytes);
        // A leak of a few bytes a tick shows over tens of thousands of ticks;
        // a quarter of a megabyte is room for the buffers' own swings.
        constexpr std::uint64_t kRoom = 256 * 1024;
        if (first.heapBytes != 0 && most > first.heapBytes + kRoom) {
            result_.violation = Violation{"the heap grew from " + std::to_string(first.heapBytes) +
                                              " to " + std::to_string(most) + " bytes after the warm-up",
                                          {}};
        }
    }
    return std::move(result_);
}

void Soak::checkpoint() {
    const std::uint64_t every = CheckpointSpacing(options_.ticks);
    while (result_.ticks >= nextCheckpoint_ && nextCheckpoint_ <= options_.ticks) {
        result_.checkpoints.push_back({result_.ticks, HeapInUse(), ResidentBytes()});
        nextCheckpoint_ += every;
    }
}

bool Soak::execute(scenario::ScenarioSession& session, const std::string& text) {
    if (recording_) result_.recorded.push_back(text);
    ++result_.steps;
    try {
        auto line = scenario::parseLine(text);
        if (line) session.execute(*line);
    } catch (const scenario::ScriptError& e) {
        result_.violation = Violation{"the soak wrote a line quendax-sim refuses: " + e.message, {}};
    } catch (const std::exception& e) {
        result_.violation = Violation{std::string("an exception escaped: ") + e.what(), {}};
    } catch (...) {
        result_.violation = Violation{"an exception of an unknown type escaped", {}};
    }
    if (!result_.violation && !session.ended()) {
        if (FrmMain* m = session.program()) result_.violation = checkInvariants(*m, watch_);
    }
    if (result_.violation) {
        result_.violationLife = result_.lives;
        return false;
    }
    checkpoint();
    return true;
}

bool Soak::runLife() {
    watch_ = RunWatch{};
    scenario::ScenarioSession session(events_.stream());
    for (const std::string& line : generator_.opening()) {
        const bool starting = line.rfind("start", 0) == 0;
        if (!execute(session, line)) return false;
        if (starting && session.program() && !session.ended()) {
            WatchTimers(*session.program(), watch_, result_.ticks);
        }
    }
    while (!session.ended() && result_.ticks < options_.ticks) {
        FrmMain* m = session.program();
        if (!execute(session, generator_.step(m && m->about() != nullptr))) return false;
    }
    return true;
}

}  // namespace

SoakResult runSoak(const SoakOptions& options) { return Soak(options).run(); }

std::string replayScript(const SoakOptions& options, const SoakResult& result) {
    std::string script = "# quendax-soak --seed " + std::to_string(options.seed) + " --ticks " +
                         std::to_string(options.ticks) + ": run " +
                         std::to_string(result.violationLife + 1) + " of the program\n";
    if (result.violation) script += "# fault: " + result.violation->what + "\n";
    for (const auto& line : result.recorded) script += line + "\n";
    if (result.violation) {
        for (const auto& print : result.violation->prints) script += "print " + print + "\n";
    }
    return script;
}

}  // namespace qx::soak
