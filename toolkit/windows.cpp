// The toolkit's state, its two windows, the canvas and the small switches.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "platform/base/clock.h"
#include "platform/core/backend.h"
#include "platform/core/timer.h"
#include "platform/core/window.h"
#include "platform/ui/menu.h"
#include "toolkit/call_trace.h"
#include "toolkit/misuse.h"
#include "toolkit/program_backend.h"
#include "toolkit/replay_driver.h"
#include "toolkit/state.h"

namespace kavro {

const ColorEntry COLOR_TABLE[KAVRO_COLOR_COUNT] = {
    {platform::color_word(0, 0, 0), "black"},
    {platform::color_word(255, 255, 255), "white"},
    {platform::color_word(255, 0, 0), "red"},
    {platform::color_word(0, 255, 0), "green"},
    {platform::color_word(0, 0, 255), "blue"},
    {platform::color_word(255, 255, 0), "yellow"},
    {platform::color_word(255, 0, 255), "magenta"},
    {platform::color_word(0, 255, 255), "cyan"},
    {platform::color_word(153, 0, 204), "purple"},
    {platform::color_word(0, 51, 153), "navy blue"},
    {platform::color_word(153, 102, 153), "dusty plum"},
    {platform::color_word(153, 255, 255), "ice blue"},
    {platform::color_word(153, 255, 204), "turquoise"},
    {platform::color_word(255, 102, 0), "orange"},
    {platform::color_word(153, 102, 51), "brown"},
    {platform::color_word(255, 153, 204), "pink"},
    {platform::color_word(255, 255, 153), "chalk"},
    {platform::color_word(204, 153, 51), "gold"},
    {platform::color_word(255, 153, 102), "peach"},
    {platform::color_word(0, 102, 51), "forest green"},
    {platform::color_word(51, 204, 153), "sea green"},
    {platform::color_word(153, 153, 51), "olive"},
    {platform::color_word(128, 128, 128), "50% gray"},
    {platform::color_word(204, 204, 204), "20% gray"},
};

ToolkitState state;

namespace detail {
CallObserver call_observer = nullptr;
void* call_observer_context = nullptr;
}  // namespace detail

void set_call_observer(CallObserver observer, void* context) {
    detail::call_observer = observer;
    detail::call_observer_context = context;
}

void reset_toolkit_state() {
    if (state.script_file) std::fclose(state.script_file);
    state.~ToolkitState();
    new (&state) ToolkitState();
}

void present_canvas() {
    platform::bit_blt(state.window_context, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, state.canvas, 0, 0);
}

void erase_canvas() {
    // The black pen rings the white canvas, whatever pen the last primitive left selected.
    platform::ScopedSelection selection(state.canvas);
    selection.select(platform::stock_object(platform::StockObject::BLACK_PEN));
    selection.select_owned(platform::create_solid_brush(COLOR_TABLE[KAVRO_WHITE].value));
    platform::rectangle(state.canvas, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
    state.dirty = 1;
}

}  // namespace kavro

using namespace kavro;

extern "C" {

int KAVRO_open(KAVRO_instance instance, KAVRO_instance previous_instance, const char*, int show_mode) {
    trace_call("open", nullptr, show_mode);
    if (state.opened) {
        report_misuse("KAVRO_open", "was called again; the windows are open already, so it did nothing (call it once)");
        return 1;
    }
    // Without windows a program has nothing to show and its event loop would
    // never end, so it stops here, with the reason already on stderr.
    if (!install_program_backend()) std::exit(1);
    if (show_mode == platform::SHOW_HIDE)
        report_misuse("KAVRO_open", "was given show mode 0, which keeps both windows hidden; pass KAVRO_SHOW_NORMAL");
    if (previous_instance == nullptr) {
        platform::WindowClass window_class;
        window_class.style = platform::CLASS_REDRAW_ON_WIDTH | platform::CLASS_REDRAW_ON_HEIGHT;
        window_class.background = COLOR_TABLE[KAVRO_WHITE].value;
        window_class.instance = instance;
        window_class.name = "DrawWndClass";
        window_class.procedure = graphics_window_proc;
        platform::register_class(window_class);
        window_class.name = "TextWndClass";
        window_class.procedure = text_window_proc;
        platform::register_class(window_class);
    }
    int screen_width = platform::screen_width();
    int screen_height = platform::screen_height();
    state.running = 0;
    state.single_step = 0;
    state.graphics_window =
        platform::create_window("DrawWndClass", "KAVRO Graphics", platform::STYLE_CAPTION | platform::STYLE_SYSTEM_MENU,
                                0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, platform::Window::NONE, instance);
    state.text_window = platform::create_window("TextWndClass", "KAVRO Text", platform::STYLE_OVERLAPPED_WINDOW, 0,
                                                (2 * screen_height) / 3 + 1, screen_width, screen_height / 3,
                                                platform::Window::NONE, instance);
    state.instance = instance;
    state.window_context = platform::get_window_dc(state.graphics_window);
    state.canvas_bitmap = platform::create_compatible_bitmap(state.window_context, CANVAS_WIDTH, CANVAS_HEIGHT);
    state.canvas = platform::create_compatible_dc(state.window_context);
    platform::select_object(state.canvas, state.canvas_bitmap);
    platform::show_window(state.text_window, show_mode);
    platform::show_window(state.graphics_window, show_mode);
    platform::set_timer(state.graphics_window, TICK_TIMER_ID, state.tick_interval_ms);
    state.opened = true;
    state.opened_at_ms = platform::monotonic_ms();
    return 1;
}

int KAVRO_close(void) {
    trace_call("close", nullptr);
    if (!opened_for("KAVRO_close")) return 0;
    report_if_never_shown();
    write_program_picture();
    if (replay_active) replay_before_close();
    platform::release_dc(state.graphics_window, state.window_context);
    close_script_file();
    return 1;
}

int KAVRO_animate(int mode) {
    trace_call("animate", nullptr, mode);
    if (!opened_for("KAVRO_animate") || !platform::is_window(state.graphics_window)) return 0;
    switch (mode) {
    case 0:
        state.single_step = 0;
        state.running = 0;
        break;
    case 1: state.single_step = 1; break;
    case 2: state.running = 1; break;
    case 5: state.quit_requested = 1; break;
    default: break;
    }
    return 1;
}

int KAVRO_logging(int flag) {
    trace_call("logging", nullptr, flag);
    if (!opened_for("KAVRO_logging") || !platform::is_window(state.graphics_window)) return 0;
    state.logging = flag != 0;
    platform::check_menu_item(state.run_menu, CMD_LOGGING, state.logging != 0);
    if (state.logging) KAVRO_show_text(1);
    return 1;
}

int KAVRO_show_text(int flag) {
    if (!opened_for("KAVRO_show_text")) return 0;
    if (flag) return platform::show_window(state.text_window, platform::SHOW_SHOW) ? 1 : 0;
    return platform::show_window(state.text_window, platform::SHOW_HIDE) ? 1 : 0;
}

int KAVRO_clear(void) {
    trace_call("clear", nullptr);
    if (!ready_to_draw("KAVRO_clear")) return 0;
    if (state.logging) KAVRO_printf("Clearing the graphics window\n");
    erase_canvas();
    return 1;
}

long long KAVRO_time(void) {
    // A program that seeds from the clock before KAVRO_open gets the clock of
    // the backend it will run on: virtual, and so repeatable, when headless.
    if (!platform::has_backend() && !install_program_backend()) return static_cast<long long>(std::time(nullptr));
    return platform::calendar_seconds();
}

}  // extern "C"
