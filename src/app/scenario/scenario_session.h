// Runs the program's real handlers on the simulated platform from a scenario
// script: the interpreter behind quendax-sim.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "app/scenario/script_line.h"
#include "app/scenario/script_numbers.h"
#include "mainwindow/frm_main.h"
#include "mainwindow/main_window_events.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_window_host.h"
#include "platform/ui/dispatcher.h"
#include "sampling/mod_memory.h"

namespace qx::scenario {

// A script line that can't be run: the message names what is wrong.
struct ScriptError {
    std::string message;
};

class ScenarioSession {
public:
    explicit ScenarioSession(std::ostream& out);
    ~ScenarioSession();

    // Runs a whole script. Returns the exit status: 0, or 2 after an error
    // (reported on `err` with the line number).
    int run(std::istream& script, std::ostream& err);

    // Runs one parsed line; throws ScriptError. Returns false once the
    // program has ended.
    bool execute(const ScriptLine& line);

    // The most virtual time one advance or msgbox-hold may ask for.
    double maxStepMs = kMaxStepMs;

    // The running program's main window (nullptr before start), whether the
    // program has ended, and the virtual time: for drivers that watch a run.
    FrmMain* program() { return main_.get(); }
    bool ended() const { return dispatcher_.ended(); }
    std::int64_t now() const { return scheduler_.now(); }

private:
    FrmMain& main();
    void setMemory(const ScriptLine& line, MemoryStatusEx& status);
    void print(const std::string& expr);
    void set(const std::string& target, const std::string& value);
    void failOrHeal(const ScriptLine& line, bool fail);
    void deliver(const std::function<void()>& event) { dispatcher_.deliver(event); }
    std::string formVariable(const std::string& expr);

    std::ostream& out_;
    ui::Dispatcher dispatcher_;
    sim::SimScheduler scheduler_;
    sim::SimSystem system_;
    sim::SimWindowHost host_;
    ModMemory memory_;
    std::unique_ptr<FrmMain> main_;
    std::unique_ptr<MainWindowEvents> events_;
    double twipsPerPixel_ = 15;
};

}  // namespace qx::scenario
