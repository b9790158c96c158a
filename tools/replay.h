// Runs the bridge scene headless, fed an event script, and writes the
// pictures the user would have seen: PNG frames and an animated GIF.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "tools/frame_list.h"

namespace replay {

struct ReplayOptions {
    std::string script;
    std::int64_t start_time = 0;  // calendar seconds of the virtual clock
    FrameList frames;
    std::string gif;              // empty: no GIF
    std::int64_t then_run = 0;    // turns to animate after playback ends
    std::string out_dir;          // empty: "." unless only a GIF is asked for
};

// Reads the command line; false with a one-line reason.
bool parse_arguments(int argc, const char* const* argv, ReplayOptions& options, std::string& error);

// Exit code: 0 when done, 2 for a script that cannot be read or an output
// that cannot be written (with one line on err). Progress goes to out.
int run_replay(const ReplayOptions& options, std::ostream& out, std::ostream& err);

}  // namespace replay
