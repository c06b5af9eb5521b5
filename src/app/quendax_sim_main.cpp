// quendax-sim: runs the program on the simulated platform from a script
// (a file argument, or standard input) and prints what happens.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/scenario/scenario_session.h"
#include "platform/sim/escaped_text.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: quendax-sim [SCRIPT]\n";
        return 2;
    }
    qx::scenario::ScenarioSession session(std::cout);
    if (argc == 2) {
        // A folder opens like a file on Linux, then fails on the first read.
        std::error_code ec;
        std::ifstream file(argv[1]);
        if (!file || std::filesystem::is_directory(argv[1], ec)) {
            std::cerr << "quendax-sim: cannot read " << qx::sim::EscapeControls(argv[1]) << '\n';
            return 2;
        }
        return session.run(file, std::cerr);
    }
    return session.run(std::cin, std::cerr);
}
