// Replaying a script through a KAVRO program headless: settings from the
// environment, pictures at the chosen turns, a report to the launcher.
#include "toolkit/replay_driver.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/backends/headless_backend.h"
#include "platform/core/input.h"
#include "toolkit/picture_writer.h"
#include "toolkit/program_backend.h"
#include "toolkit/state.h"

namespace kavro {

bool replay_active = false;

namespace {

constexpr int GIF_CENTISECONDS = 10;  // 10 frames a second, as the animation runs
// Room in virtual time beyond the turns allowed, for a program's own waits.
constexpr std::int64_t SPARE_VIRTUAL_MS = 60'000;

struct Driver {
    ReplaySettings settings;
    platform::HeadlessBackend* headless = nullptr;
    ReplayOutcome outcome;
    std::unique_ptr<PictureWriter> pictures;  // none when no picture is kept
    bool started = false;
    bool playback_over = false;
    bool closing = false;
    bool finished = false;
    std::int64_t turns_after_playback = 0;
    std::int64_t last_captured = -1;
};

std::unique_ptr<Driver> driver;

bool parse_count(const char* text, std::int64_t& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(text, &end, 10);
    if (*end || errno || parsed < 0) return false;
    value = parsed;
    return true;
}

void output_failed(const std::string& path) {
    if (driver->outcome.output_error.empty()) driver->outcome.output_error = path;
}

// Keeps the picture after `frame` turns when it is one of the chosen frames.
void capture(std::int64_t frame) {
    Driver& d = *driver;
    if (frame <= d.last_captured) return;
    d.last_captured = frame;
    if (!d.settings.frames.contains(frame) || !d.outcome.output_error.empty()) return;
    if (d.outcome.frames >= d.settings.max_frames) {
        if (d.outcome.bound.empty()) d.outcome.bound = "max-frames";
        return;
    }
    if (d.pictures && d.pictures->failed()) return;
    platform::Bitmap view = visible_canvas();
    if (d.settings.frame_observer) d.settings.frame_observer(frame, view);
    if (d.pictures) d.pictures->submit(frame, std::move(view));
    ++d.outcome.frames;
}

void close_the_program() {
    driver->closing = true;
    platform::inject_close(state.graphics_window);
}

// A bound was reached: the outputs so far are kept and the program ends here,
// since one that ignores its close box would otherwise run on.
[[noreturn]] void stop_at_bound(const char* bound) {
    if (driver->outcome.bound.empty()) driver->outcome.bound = bound;
    finish_replay();
    std::fflush(nullptr);
    std::_Exit(0);
}

void on_idle() {
    Driver& d = *driver;
    if (!d.started || d.playback_over || state.playing || state.play_one) return;
    d.playback_over = true;
    d.outcome.playback_finished = true;
    if (d.settings.then_run > 0)
        platform::inject_menu_choice(state.graphics_window, CMD_ANIMATE);
    else
        close_the_program();
}

// A program may end on the script's last event (its Quit button): playback
// then had nothing left but the end of the file.
bool script_has_no_more_events() {
    if (state.periodic_count > 0 || !state.script_file || state.script_file_writing) return false;
    char line[512];
    while (std::fgets(line, sizeof line, state.script_file))
        if (line[0] != '\n') return false;
    return true;
}

void report(const ReplayOutcome& o, int fd) {
    if (fd < 0) return;
    std::FILE* out = fdopen(dup(fd), "w");
    if (!out) return;
    std::fprintf(out, "turns %lld\nframes %lld\nscript-events %lld\nblank-lines %lld\nstopped-at-line %lld\n",
                 static_cast<long long>(o.turns), static_cast<long long>(o.frames),
                 static_cast<long long>(o.script_events), static_cast<long long>(o.blank_lines),
                 static_cast<long long>(o.stopped_at_line));
    std::fprintf(out, "playback-finished %d\nbound %s\noutput-error %s\n", o.playback_finished ? 1 : 0, o.bound.c_str(),
                 o.output_error.c_str());
    for (std::int64_t frame : o.png_frames) std::fprintf(out, "png %lld\n", static_cast<long long>(frame));
    std::fprintf(out, "end\n");
    std::fclose(out);
}

}  // namespace

bool replay_settings_from_environment(ReplaySettings& settings) {
    const char* script = std::getenv("KAVRO_REPLAY_SCRIPT");
    if (!script || !*script) return false;
    settings.script = script;
    // kavro-replay checked every value; a bad one falls back to its default.
    std::int64_t number = 0;
    if (parse_count(std::getenv("KAVRO_REPLAY_START_TIME"), number) && number <= MAX_START_TIME)
        settings.start_time = number;
    if (parse_count(std::getenv("KAVRO_REPLAY_THEN_RUN"), number)) settings.then_run = number;
    if (parse_count(std::getenv("KAVRO_REPLAY_MAX_TURNS"), number)) settings.max_turns = number;
    if (parse_count(std::getenv("KAVRO_REPLAY_MAX_FRAMES"), number)) settings.max_frames = number;
    if (parse_count(std::getenv("KAVRO_REPLAY_REPORT_FD"), number) && number < 1024)
        settings.report_fd = static_cast<int>(number);
    std::string ignored;
    const char* frames = std::getenv("KAVRO_REPLAY_FRAMES");
    if (!frames || !settings.frames.parse(frames, ignored)) settings.frames.parse("all", ignored);
    if (const char* out = std::getenv("KAVRO_REPLAY_OUT")) settings.out_dir = out;
    if (const char* gif = std::getenv("KAVRO_REPLAY_GIF")) settings.gif = gif;
    return true;
}

void start_replay(ReplaySettings settings) {
    driver = std::make_unique<Driver>();
    driver->settings = std::move(settings);
    if (!driver->settings.gif.empty() || !driver->settings.out_dir.empty())
        driver->pictures =
            std::make_unique<PictureWriter>(driver->settings.gif, driver->settings.out_dir, GIF_CENTISECONDS);
    auto owned = std::make_unique<platform::HeadlessBackend>(platform::Size{1024, 768}, driver->settings.start_time);
    driver->headless = owned.get();
    // A program waiting for input that can never come is sent a quit.
    owned->set_time_limit(driver->settings.max_turns * static_cast<std::int64_t>(TICK_INTERVAL_MS) + SPARE_VIRTUAL_MS);
    owned->set_idle_observer(on_idle);
    platform::install_backend(std::move(owned));
    replay_active = true;
}

void replay_before_wait() {
    Driver& d = *driver;
    capture(d.outcome.turns);
    if (!d.outcome.bound.empty()) stop_at_bound(d.outcome.bound.c_str());
    if (!d.started) {
        d.started = true;
        // Playback starts as the Run menu's entry would, on the script in place.
        close_script_file();
        state.script_file = std::fopen(d.settings.script.c_str(), "r");
        state.script_file_writing = false;
        state.script_counts = ScriptCounts{};
        if (!state.script_file) {
            // Never the current directory's "KAVRO.SCR" in its place.
            output_failed(d.settings.script);
            d.playback_over = true;
            close_the_program();
            return;
        }
        run_command(CMD_PLAYBACK);
        return;
    }
    if (d.playback_over && !d.closing && d.turns_after_playback >= d.settings.then_run) close_the_program();
}

void replay_after_event(int kind, bool from_script) {
    Driver& d = *driver;
    ++d.outcome.turns;
    if (d.playback_over) ++d.turns_after_playback;
    // The live program met one tick every interval; a replay keeps that pace,
    // so what depends on the time (the scene's random numbers) comes out alike.
    if (from_script && kind == KAVRO_PERIODIC) d.headless->advance_clock(state.tick_interval_ms);
    if (d.outcome.turns >= d.settings.max_turns) {
        capture(d.outcome.turns);
        stop_at_bound("max-turns");
    }
}

void replay_before_close() {
    Driver& d = *driver;
    if (!d.outcome.playback_finished && d.started &&
        ((!state.playing && !state.play_one) || script_has_no_more_events()))
        d.outcome.playback_finished = true;
}

ReplayOutcome finish_replay() {
    if (!driver) return ReplayOutcome{};
    Driver& d = *driver;
    if (!d.finished) {
        d.finished = true;
        if (state.opened) capture(d.outcome.turns);
        if (d.pictures) {
            PictureWriter::Result written = d.pictures->finish();
            d.outcome.png_frames = std::move(written.png_frames);
            if (!written.failed_path.empty()) output_failed(written.failed_path);
        }
        // giflib creates its file for the owner alone; a picture is for everyone to read.
        std::error_code ignored;
        if (!d.settings.gif.empty() && d.outcome.output_error.empty())
            std::filesystem::permissions(d.settings.gif,
                                         std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                             std::filesystem::perms::group_read | std::filesystem::perms::others_read,
                                         ignored);
        if (d.outcome.bound.empty() && d.headless->time_limit_reached()) d.outcome.bound = "virtual-time";
        d.outcome.script_events = state.script_counts.events;
        d.outcome.blank_lines = state.script_counts.blank_lines;
        d.outcome.stopped_at_line = state.script_counts.stopped_at_line;
        replay_before_close();
        report(d.outcome, d.settings.report_fd);
    }
    replay_active = false;
    return d.outcome;
}

}  // namespace kavro
