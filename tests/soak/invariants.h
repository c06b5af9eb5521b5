// What must hold after every step of the soak, read from the main window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mainwindow/frm_main.h"

namespace qx::soak {

// What the soak saw of the run so far, beyond the window itself.
struct RunWatch {
    bool haveTick = false;        // a readout tick has run to its end
    bool tickWarning = false;     // that tick's sample was below the warning level
    bool barsPlaced = false;      // a tick has had a sample to place the green boxes by
    int runDepth = 0;             // freeing runs under way, one inside another
    std::string nestedRun;        // the event of a run started inside another
};

struct Violation {
    std::string what;
    std::vector<std::string> prints;  // print lines that show the values concerned
};

std::optional<Violation> checkInvariants(FrmMain& main, const RunWatch& watch);

}  // namespace qx::soak
