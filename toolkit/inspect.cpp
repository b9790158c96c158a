// The inspection calls: thin reads and writes of the toolkit's record.
#include "toolkit/inspect.h"

#include "platform/drawing/drawing_context.h"
#include "toolkit/state.h"

namespace kavro {

platform::Window graphics_window() { return state.graphics_window; }

platform::Menu run_menu() { return state.run_menu; }

platform::Bitmap& canvas_bitmap() { return *platform::bitmap_of(state.canvas_bitmap); }

platform::Point canvas_origin() { return platform::Point{state.centre_x, state.centre_y}; }

platform::ColorWord color_value(int color) { return COLOR_TABLE[color].value; }

std::vector<std::string> message_lines() {
    std::vector<std::string> lines;
    state.message_ring.for_each([&lines](const char* line) { lines.emplace_back(line); });
    return lines;
}

void set_recording(bool on) {
    if (on) {
        state.recording = 1;
    } else if (state.recording) {
        state.recording = 0;
        stop_recording();
    }
}

void request_periodic_event() {
    // One already armed is waiting for its tick; a second would arrive a turn later.
    if (state.pending.kind != KAVRO_PERIODIC) state.single_step = 1;
}

}  // namespace kavro
