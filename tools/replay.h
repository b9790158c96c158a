// kavro-replay: runs any KAVRO program headless on an event script and keeps
// its pictures as PNG frames and an animated GIF, optionally comparing them
// with reference pictures. The replay itself is the library's (the program
// is started with the settings in its environment); this is the launcher.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "toolkit/replay_driver.h"

namespace replay {

// The launcher's exit codes.
constexpr int EXIT_DONE = 0;
constexpr int EXIT_FRAMES_DIFFER = 1;
constexpr int EXIT_BAD_INPUT = 2;       // command line, script, outputs
constexpr int EXIT_ENDED_EARLY = 3;     // the program ended before the script did
constexpr int EXIT_PROGRAM_FAILED = 4;  // crashed, failed, or is no KAVRO program
constexpr int EXIT_BOUND_REACHED = 5;   // --max-turns, --max-frames or the virtual-time bound

struct ReplayOptions {
    std::string program;  // empty: the bridge scene installed beside kavro-replay
    std::string script;
    std::int64_t start_time = 0;  // calendar seconds of the virtual clock
    std::string frames = "all";
    std::string gif;            // empty: no GIF
    std::int64_t then_run = 0;  // turns to animate after playback ends
    std::string out_dir;        // empty: "." unless only a GIF is asked for
    std::int64_t max_turns = kavro::DEFAULT_MAX_TURNS;
    std::int64_t max_frames = kavro::DEFAULT_MAX_FRAMES;
    std::string compare_dir;  // empty: no comparison
    bool help = false;
};

extern const char* const USAGE;

// Reads the command line; false with a one-line reason.
bool parse_arguments(int argc, const char* const* argv, ReplayOptions& options, std::string& error);

// Runs the replay; returns one of the exit codes above, with one line on err
// for anything but success. The summary goes to out.
int run_replay(const ReplayOptions& options, std::ostream& out, std::ostream& err);

}  // namespace replay
