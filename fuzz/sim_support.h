// Running quendax-sim commands from a fuzz target without a script text.
#pragma once

#include <string>
#include <vector>

#include "app/sim/sim_session.h"

namespace qx::fuzz {

// Runs one command; a refused command is no finding.
inline void Run(simscript::SimSession& session, std::string command, std::vector<std::string> args = {},
                std::string rest = {}) {
    simscript::ScriptLine line;
    line.command = std::move(command);
    line.args = std::move(args);
    line.rest = std::move(rest);
    try {
        session.execute(line);
    } catch (const simscript::ScriptError&) {
    }
}

}  // namespace qx::fuzz
