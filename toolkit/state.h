// The toolkit's one record and the internal operations its files share.
// Everything here runs on the program's single thread.
#pragma once

#include <array>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "platform/base/handles.h"
#include "platform/base/messages.h"
#include "platform/drawing/drawing_context.h"
#include "toolkit/inspect.h"
#include "toolkit/kavro.h"

namespace kavro {

constexpr int CANVAS_WIDTH = 601;
constexpr int CANVAS_HEIGHT = 540;
constexpr unsigned TICK_TIMER_ID = 2;
constexpr unsigned TICK_INTERVAL_MS = 100;
constexpr int MAX_MESSAGES = 25;
constexpr int NO_EVENT = -1;
constexpr int MAX_POINT_SIZE = 127;
// Pens up to this width are kept once made; wider ones are made for their call.
constexpr int MAX_KEPT_PEN_WIDTH = 4;

constexpr unsigned CMD_ANIMATE = 1;
constexpr unsigned CMD_HALT = 2;
constexpr unsigned CMD_ADVANCE_FRAME = 3;
constexpr unsigned CMD_LOGGING = 4;
constexpr unsigned CMD_RECORD = 5;
constexpr unsigned CMD_PLAYBACK = 6;
constexpr unsigned CMD_PLAY_ONE = 7;
constexpr unsigned CMD_QUIT = 8;
constexpr unsigned CMD_ABOUT = 9;

struct PendingEvent {
    std::int32_t kind = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    char key = 0;
};

// The text window's last MAX_MESSAGES lines, each an owned copy.
struct MessageRing {
    std::unique_ptr<char[]> slots[MAX_MESSAGES];
    int oldest = -1;
    int next = 0;

    // Calls visit with each line, oldest first.
    template <typename Visit>
    void for_each(Visit visit) const {
        int index = oldest;
        int count = 0;
        while (index >= 0 && !(index == next && count != 0)) {
            visit(slots[index] ? slots[index].get() : "");
            index = (index + 1) % MAX_MESSAGES;
            ++count;
        }
    }
};

// The misuse lines said so far, each once: the call and its advice.
struct MisuseLog {
    static constexpr int CAPACITY = 64;
    const char* calls[CAPACITY] = {};
    const char* advice[CAPACITY] = {};
    int count = 0;
};

// What playback has read of the script since it was opened.
struct ScriptCounts {
    std::int64_t lines = 0;
    std::int64_t events = 0;
    std::int64_t blank_lines = 0;
    std::int64_t stopped_at_line = 0;  // the line that was no event and ended playback
};

struct ColorEntry {
    platform::ColorWord value;
    const char* name;
};
extern const ColorEntry COLOR_TABLE[KAVRO_COLOR_COUNT];

// The pens, brushes and fonts the canvas draws with, each made at its first
// use and kept with the canvas, so that a primitive only selects them.
struct DrawingTools {
    platform::DrawingObject pens[MAX_KEPT_PEN_WIDTH][KAVRO_COLOR_COUNT] = {};
    platform::DrawingObject brushes[KAVRO_COLOR_COUNT] = {};
    platform::DrawingObject fonts[MAX_POINT_SIZE + 1] = {};
};

struct ToolkitState {
    platform::Window graphics_window = platform::Window::NONE;
    platform::Window text_window = platform::Window::NONE;
    KAVRO_instance instance = nullptr;
    platform::DrawingContext window_context = platform::DrawingContext::NONE;
    platform::DrawingContext canvas = platform::DrawingContext::NONE;
    platform::DrawingObject canvas_bitmap = platform::DrawingObject::NONE;
    platform::Menu run_menu = platform::Menu::NONE;
    DrawingTools tools;
    std::int32_t centre_x = 0;
    std::int32_t centre_y = 0;
    std::uint32_t dirty = 1;
    std::uint8_t logging = 1;
    std::uint8_t running = 0;
    std::uint8_t single_step = 0;
    std::uint8_t quit_requested = 0;
    std::uint32_t tick = 0;
    std::uint32_t ctrl_down = 0;
    std::uint8_t recording = 0;
    std::uint8_t playing = 0;
    std::uint8_t play_one = 0;
    PendingEvent pending;
    // The opt-in events asked for (KAVRO_WANT_ bits), the keys held as their
    // events were delivered, and the tick's interval.
    int wanted_events = 0;
    std::array<bool, 256> held_keys{};
    unsigned tick_interval_ms = TICK_INTERVAL_MS;
    std::int32_t periodic_count = 0;
    std::FILE* script_file = nullptr;
    // The mode script_file was opened in, so neither side uses the other's handle.
    bool script_file_writing = false;
    MessageRing message_ring;
    ScriptCounts script_counts;
    // For the misuse lines: whether KAVRO_open has run (its windows may be
    // gone since), the program has waited for an event yet and drew before it
    // did, and when KAVRO_open ran.
    bool opened = false;
    bool awaited = false;
    bool drew_before_waiting = false;
    std::int64_t opened_at_ms = 0;
    MisuseLog misuse;
};

// The one module-level record.
extern ToolkitState state;

void present_canvas();
void erase_canvas();
std::intptr_t graphics_window_proc(platform::Window window, unsigned message, std::uintptr_t word,
                                   std::intptr_t position);
std::intptr_t text_window_proc(platform::Window window, unsigned message, std::uintptr_t word, std::intptr_t position);
void run_command(unsigned identifier);
// Opt-in input: a key message becomes KAVRO_KEY_PRESS or KAVRO_KEY_RELEASE when asked
// for; a mouse message becomes its event when asked for (true: it was a
// pointer message handled here); the held keys follow delivered key events;
// whether a script line of this kind is delivered.
void deliver_key(int kind, std::uintptr_t word, std::intptr_t position);
bool take_pointer_message(unsigned message, std::uintptr_t word, std::intptr_t position);
void note_held_key(int kind, int code);
bool wanted_event_kind(int kind);
void put_text_line(const char* message);
int format_message(char* buffer, std::size_t size, const char* format, std::va_list arguments);

// Event scripts.
void script_write_event(int kind, int x, int y, char key);
int script_read_event();
void stop_playback();
void stop_recording();
void close_script_file();

}  // namespace kavro
