// quendax-sim: runs the program on the simulated platform from a script
// (a file argument, or standard input) and prints what happens.
#include <fstream>
#include <iostream>

#include "app/sim/sim_session.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: quendax-sim [SCRIPT]\n";
        return 2;
    }
    qx::simscript::SimSession session(std::cout);
    if (argc == 2) {
        std::ifstream file(argv[1]);
        if (!file) {
            std::cerr << "quendax-sim: cannot read " << argv[1] << '\n';
            return 2;
        }
        return session.run(file, std::cerr);
    }
    return session.run(std::cin, std::cerr);
}
