// kavro-replay [PROGRAM] SCRIPT [options]: see tools/replay.h and --help.
#include <iostream>

#include "tools/replay.h"

int main(int argc, char** argv) {
    replay::ReplayOptions options;
    std::string error;
    if (!replay::parse_arguments(argc, argv, options, error)) {
        std::cerr << "kavro-replay: " << error << "\n";
        return replay::EXIT_BAD_INPUT;
    }
    if (options.help) {
        std::cout << replay::USAGE;
        return replay::EXIT_DONE;
    }
    return replay::run_replay(options, std::cout, std::cerr);
}
