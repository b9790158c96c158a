// Plays the input as KAVRO.SCR through the Run menu's playback into a small
// program that draws at every event's coordinates, for a bounded number of turns.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "fuzz/fuzz_toolkit.h"
#include "platform/core/input.h"
#include "toolkit/state.h"

namespace {

constexpr int MAX_TURNS = 64;

std::filesystem::path scratch_directory;

void remove_scratch_directory() {
    std::error_code ignored;
    std::filesystem::remove_all(scratch_directory, ignored);
}

bool known_kind(int kind) { return kind >= KAVRO_MOUSE && kind <= KAVRO_WHEEL; }

void draw_for(int kind, int x, int y, char key) {
    switch (kind) {
    case KAVRO_MOUSE: KAVRO_circle(KAVRO_RED, x, y, 5); break;
    case KAVRO_KBD: KAVRO_text(KAVRO_BLACK, x, y, 0, "%c", key); break;
    case KAVRO_BUTTON_DOWN:
    case KAVRO_BUTTON_UP: KAVRO_rectangle(key, x, y, x + 10, y - 10, 1); break;
    case KAVRO_MOTION: KAVRO_pixel(KAVRO_BLUE, x, y); break;
    case KAVRO_WHEEL: KAVRO_line(KAVRO_GREEN, 0, 0, x, y, key); break;
    default: KAVRO_clear(); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/kavro-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    scratch_directory = pattern;
    std::filesystem::current_path(scratch_directory);
    std::atexit(remove_scratch_directory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* script = std::fopen(kavro::SCRIPT_FILE_NAME, "wb");
    if (!script) std::abort();
    std::fwrite(data, 1, size, script);
    std::fclose(script);

    fuzz_support::open_toolkit(60'000);
    // Odd lengths ask for every kind, so both the delivery and the passing over of the newer lines run.
    if (size % 2 == 1) KAVRO_want_events(KAVRO_WANT_ALL);
    platform::inject_menu_choice(kavro::graphics_window(), kavro::CMD_PLAYBACK);
    for (int turn = 0; turn < MAX_TURNS; ++turn) {
        int x = 0;
        int y = 0;
        char key = 0;
        int kind = KAVRO_await_event(&x, &y, &key);
        if (kind == KAVRO_QUIT) break;
        if (!known_kind(kind)) std::abort();
        draw_for(kind, x, y, key);
    }
    KAVRO_close();
    kavro::reset_toolkit_state();
    return 0;
}
