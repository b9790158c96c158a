// Replaying an event script into any KAVRO program, headless: the program
// runs unchanged; the driver plays the script from its first wait for an
// event on, paces the virtual clock by the script's ticks and keeps the
// pictures. kavro-replay starts it through the environment.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/bitmap.h"
#include "toolkit/frame_list.h"

namespace kavro {

// Bounds that end a replay which would run away (a script of two billion
// ticks, a program that never quits).
constexpr std::int64_t DEFAULT_MAX_TURNS = 100'000;
constexpr std::int64_t DEFAULT_MAX_FRAMES = 10'000;
// The latest calendar second a replay may start at (the last of year 9999).
constexpr std::int64_t MAX_START_TIME = 253'402'300'799;

struct ReplaySettings {
    std::string script;
    std::int64_t start_time = 0;  // calendar seconds of the virtual clock
    FrameList frames;
    std::string out_dir;        // PNG frames go here; empty: none
    std::string gif;            // empty: no GIF
    std::int64_t then_run = 0;  // turns to animate after the script
    std::int64_t max_turns = DEFAULT_MAX_TURNS;
    std::int64_t max_frames = DEFAULT_MAX_FRAMES;
    int report_fd = -1;  // the launcher reads the outcome here
    // Called with every chosen frame, besides the files (tests keep them).
    std::function<void(std::int64_t frame, const platform::Bitmap& picture)> frame_observer;
};

// How a replay ended, as the launcher is told.
struct ReplayOutcome {
    std::int64_t turns = 0;
    std::int64_t frames = 0;
    std::int64_t script_events = 0;
    std::int64_t blank_lines = 0;
    std::int64_t stopped_at_line = 0;  // a line that is no event ended playback; 0: none
    bool playback_finished = false;
    std::string bound;                     // "max-turns", "max-frames", "virtual-time" or empty
    std::string output_error;              // the path that could not be written, or empty
    std::vector<std::int64_t> png_frames;  // the frames written as PNG files
};

// The settings kavro-replay put in the environment; false when there are none.
bool replay_settings_from_environment(ReplaySettings& settings);

// Installs the headless backend and the driver. The program then runs as usual.
void start_replay(ReplaySettings settings);

extern bool replay_active;
// KAVRO_await_event calls these around each event while a replay runs.
void replay_before_wait();
void replay_after_event(int kind, bool from_script);
// KAVRO_close calls this before the script is closed: did playback get through?
void replay_before_close();

// Writes the last frame, closes the outputs and reports; idempotent. Runs at
// exit in a replayed program.
ReplayOutcome finish_replay();

}  // namespace kavro
