#include "tools/replay.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "platform/headless_backend.h"
#include "platform/input.h"
#include "platform/png.h"
#include "platform/window.h"
#include "scene/main_loop.h"
#include "toolkit/program_backend.h"
#include "toolkit/state.h"
#include "tools/gif_writer.h"

namespace replay {
namespace fs = std::filesystem;

namespace {

constexpr int GIF_CENTISECONDS = 10;  // 10 frames a second, as the animation runs

bool parse_count(const char* text, std::int64_t& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(text, &end, 10);
    if (*end || errno || parsed < 0) return false;
    value = parsed;
    return true;
}

// A private working directory holding the script as "KAVRO.SCR"; the user's
// own files are never touched. It goes away with the object.
class WorkDirectory {
public:
    bool create(const fs::path& script, std::string& error) {
        char pattern[] = "/tmp/kavro-replay-XXXXXX";
        if (!mkdtemp(pattern)) {
            error = "cannot create a working directory";
            return false;
        }
        path_ = pattern;
        std::error_code failed;
        fs::copy_file(script, path_ / "KAVRO.SCR", failed);
        if (failed) {
            error = "cannot read script " + script.string();
            return false;
        }
        previous_ = fs::current_path(failed);
        fs::current_path(path_, failed);
        return !failed;
    }
    ~WorkDirectory() {
        std::error_code ignored;
        if (!previous_.empty()) fs::current_path(previous_, ignored);
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }

private:
    fs::path path_;
    fs::path previous_;
};


std::vector<platform::Pixel> toolkit_palette() {
    std::vector<platform::Pixel> palette;
    for (const kavro::ColorEntry& entry : kavro::COLOR_TABLE) palette.push_back(platform::pixel_from_color(entry.value));
    return palette;
}

}  // namespace

bool parse_arguments(int argc, const char* const* argv, ReplayOptions& options, std::string& error) {
    bool frames_given = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char*& text) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            text = argv[++i];
            return true;
        };
        const char* text = nullptr;
        if (arg == "--start-time") {
            if (!value(text) || !parse_count(text, options.start_time)) {
                if (error.empty()) error = "--start-time needs whole seconds of 0 or more";
                return false;
            }
        } else if (arg == "--frames") {
            if (!value(text) || !options.frames.parse(text, error)) return false;
            frames_given = true;
        } else if (arg == "--gif") {
            if (!value(text)) return false;
            options.gif = text;
        } else if (arg == "--then-run") {
            if (!value(text) || !parse_count(text, options.then_run)) {
                if (error.empty()) error = "--then-run needs a whole number of turns";
                return false;
            }
        } else if (arg == "--out") {
            if (!value(text)) return false;
            options.out_dir = text;
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (options.script.empty()) {
            options.script = arg;
        } else {
            error = "only one script, please (" + arg + ")";
            return false;
        }
    }
    if (options.script.empty()) {
        error = "usage: kavro-replay SCRIPT [--start-time SECONDS] [--frames LIST] [--gif FILE] [--then-run N] "
                "[--out DIR]";
        return false;
    }
    if (!frames_given) options.frames.parse("all", error);
    return true;
}

int run_replay(const ReplayOptions& options, std::ostream& out, std::ostream& err) {
    std::error_code failed;
    fs::path script = fs::absolute(options.script, failed);
    if (failed || !fs::is_regular_file(script, failed)) {
        err << "kavro-replay: cannot read script " << options.script << "\n";
        return 2;
    }
    bool write_pngs = !options.out_dir.empty() || options.gif.empty();
    fs::path out_dir = fs::absolute(options.out_dir.empty() ? "." : options.out_dir, failed);
    if (write_pngs) {
        fs::create_directories(out_dir, failed);
        if (!fs::is_directory(out_dir)) {
            err << "kavro-replay: cannot write to " << out_dir.string() << "\n";
            return 2;
        }
    }
    fs::path gif_path = options.gif.empty() ? fs::path() : fs::absolute(options.gif, failed);

    WorkDirectory work;
    std::string error;
    if (!work.create(script, error)) {
        err << "kavro-replay: " << error << "\n";
        return 2;
    }

    kavro::reset_toolkit_state();
    platform::HeadlessBackend& headless = platform::install_headless_backend(platform::Size{1024, 768}, options.start_time);
    headless.set_time_limit(INT64_C(1) << 60);

    // Playback starts as the Run menu's entry would, right after the start-up picture.
    headless.schedule(0, [] { platform::inject_menu_choice(kavro::state.graphics_window, kavro::CMD_PLAYBACK); });
    bool playback_over = false;
    bool closing = false;
    headless.set_idle_observer([&] {
        if (playback_over || kavro::state.playing || kavro::state.play_one) return;
        playback_over = true;
        if (options.then_run > 0) {
            platform::inject_menu_choice(kavro::state.graphics_window, kavro::CMD_ANIMATE);
        } else {
            closing = true;
            platform::inject_close(kavro::state.graphics_window);
        }
    });

    GifWriter gif;
    int pngs = 0;
    bool output_failed = false;
    auto capture = [&](std::int64_t frame) {
        if (output_failed || !options.frames.contains(frame)) return;
        platform::Bitmap view = kavro::visible_canvas();
        if (!gif_path.empty()) {
            if (gif.frames() == 0 && !gif.open(gif_path.string(), view.width, view.height, toolkit_palette(), GIF_CENTISECONDS))
                output_failed = true;
            else if (!gif.add_frame(view))
                output_failed = true;
        }
        if (write_pngs && !output_failed) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(frame));
            if (platform::write_png((out_dir / name).c_str(), view))
                ++pngs;
            else
                output_failed = true;
        }
    };

    static int instance;
    bridge::SceneRecords records{};
    bridge::start_up(records, &instance, nullptr, "", platform::SHOW_NORMAL);
    capture(0);
    std::int64_t turns = 0;
    std::int64_t turns_after_playback = 0;
    for (;;) {
        if (playback_over && !closing && turns_after_playback >= options.then_run) {
            closing = true;
            platform::inject_close(kavro::state.graphics_window);
        }
        int quit = bridge::run_turn(records);
        ++turns;
        if (playback_over) ++turns_after_playback;
        capture(turns);
        if (quit || output_failed) break;
    }
    KAVRO_close();
    bool gif_ok = gif.close();
    if (output_failed || !gif_ok) {
        err << "kavro-replay: cannot write " << (gif_ok ? out_dir.string() : gif_path.string()) << "\n";
        return 2;
    }
    // giflib creates its file for the owner alone; a picture is for everyone to read.
    if (!gif_path.empty())
        fs::permissions(gif_path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                      fs::perms::others_read, failed);
    out << "turns: " << turns << ", frames written: " << (gif.frames() > 0 ? gif.frames() : pngs);
    if (!gif_path.empty()) out << " (GIF " << gif_path.string() << ")";
    if (write_pngs) out << ", PNG files: " << pngs << " in " << out_dir.string();
    out << "\n";
    return 0;
}

}  // namespace replay
