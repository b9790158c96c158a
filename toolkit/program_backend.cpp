// The backend of a program that installed none itself (a plain main): the
// screen, or the headless backend when KAVRO_BACKEND=headless asks for it, so
// a program can be run and checked without a display.
#include "toolkit/program_backend.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/backends/headless_backend.h"
#include "platform/backends/sdl_backend.h"
#include "platform/core/window.h"
#include "platform/drawing/drawing_context.h"
#include "platform/drawing/png.h"
#include "toolkit/replay_driver.h"
#include "toolkit/state.h"

namespace kavro {
namespace {

// A headless program with nobody to quit it ends after this much virtual time.
constexpr std::int64_t HEADLESS_TIME_LIMIT_MS = 60'000;

const char* picture_path = nullptr;

void write_last_picture() {
    if (!picture_path || !state.opened) return;
    if (!platform::write_png(picture_path, visible_canvas()))
        std::fprintf(stderr, "kavro: cannot write the picture to %s\n", picture_path);
    picture_path = nullptr;
}

void uninstall_program_backend() {
    if (replay_active) finish_replay();
    write_last_picture();
    platform::install_backend(nullptr);
}

std::unique_ptr<platform::Backend> create_headless_program_backend() {
    auto headless = std::make_unique<platform::HeadlessBackend>();
    headless->set_time_limit(HEADLESS_TIME_LIMIT_MS);
    const char* path = std::getenv("KAVRO_PICTURE");
    if (path && *path) picture_path = path;
    return headless;
}

}  // namespace

platform::Bitmap visible_canvas() {
    platform::Rect client;
    platform::get_client_rect(state.graphics_window, client);
    const platform::Bitmap* canvas = platform::bitmap_of(state.canvas_bitmap);
    if (!canvas) return platform::Bitmap();
    int width = client.width() > 0 ? std::min(client.width(), canvas->width) : canvas->width;
    int height = client.height() > 0 ? std::min(client.height(), canvas->height) : canvas->height;
    // Built from the rows themselves: a replay takes one of these per frame, and
    // filling it with zeros first would write every pixel twice.
    platform::Bitmap view;
    view.width = width;
    view.height = height;
    view.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) view.pixels.insert(view.pixels.end(), canvas->row(y), canvas->row(y) + width);
    return view;
}

bool install_program_backend() {
    // One attempt: a display that failed once is not asked again (nor said twice).
    static bool failed = false;
    if (platform::has_backend()) return true;
    if (failed) return false;
    failed = true;
    ReplaySettings replay;
    if (replay_settings_from_environment(replay)) {
        start_replay(std::move(replay));
        std::atexit(uninstall_program_backend);
        return true;
    }
    const char* wanted = std::getenv("KAVRO_BACKEND");
    std::unique_ptr<platform::Backend> chosen;
    if (!wanted || !*wanted || std::strcmp(wanted, "screen") == 0) {
        chosen = platform::create_screen_backend();
    } else if (std::strcmp(wanted, "headless") == 0) {
        chosen = create_headless_program_backend();
    } else {
        std::fprintf(stderr, "kavro: KAVRO_BACKEND=%s is not a backend; use screen or headless\n", wanted);
        return false;
    }
    if (!chosen) return false;
    failed = false;
    platform::install_backend(std::move(chosen));
    // SDL and the window system are let go before the process ends.
    std::atexit(uninstall_program_backend);
    return true;
}

void write_program_picture() { write_last_picture(); }

}  // namespace kavro
