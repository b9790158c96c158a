// kavro-replay SCRIPT [--start-time SECONDS] [--frames LIST] [--gif FILE] [--then-run N] [--out DIR]
#include <iostream>

#include "tools/replay.h"

int main(int argc, char** argv) {
    replay::ReplayOptions options;
    std::string error;
    if (!replay::parse_arguments(argc, argv, options, error)) {
        std::cerr << "kavro-replay: " << error << "\n";
        return 2;
    }
    return replay::run_replay(options, std::cout, std::cerr);
}
