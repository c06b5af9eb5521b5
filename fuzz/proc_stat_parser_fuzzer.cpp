// The "cpu" line of /proc/stat, then its conversion into processor times
// at a tick rate taken from the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/generic/figure_rules.h"
#include "platform/linux/cpu_times.h"
#include "platform/linux/proc_stat_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint64_t rate = 100;
    if (size >= sizeof rate) {
        std::memcpy(&rate, data, sizeof rate);
        data += sizeof rate;
        size -= sizeof rate;
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qx::linuxos::CpuTicks ticks;
    ticks.user = 777;
    if (!qx::linuxos::parseCpuLine(text, ticks)) {
        if (ticks.user != 777) std::abort();  // a refused text leaves the ticks alone
        return 0;
    }
    qx::generic::NonDecreasingTimes steady;
    const qx::SystemTimes first = steady.next(qx::linuxos::systemTimesFromTicks(ticks, rate));
    ticks.iowait /= 2;  // iowait may shrink between two reads
    const qx::SystemTimes second = steady.next(qx::linuxos::systemTimesFromTicks(ticks, rate));
    if (second.idle < first.idle || second.kernel < first.kernel || second.user < first.user) std::abort();
    return 0;
}
