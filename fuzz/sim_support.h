// Running quendax-sim commands from a fuzz target without a script text.
#pragma once

#include <string>
#include <vector>

#include "app/scenario/scenario_session.h"

namespace qx::fuzz {

// Runs one command; a refused command is no finding.
inline void Run(scenario::ScenarioSession& session, std::string command, std::vector<std::string> args = {},
                std::string rest = {}) {
    scenario::ScriptLine line;
    line.command = std::move(command);
    line.args = std::move(args);
    line.rest = std::move(rest);
    try {
        session.execute(line);
    } catch (const scenario::ScriptError&) {
    }
}

}  // namespace qx::fuzz
