// Event scripts: recording the delivered events to "KAVRO.SCR" and playing
// them back. Recording and playback share one handle; the Run menu keeps the
// two apart so neither side reads or writes through the other's handle.
#include <cstdio>

#include "platform/ui/menu.h"
#include "toolkit/script_line.h"
#include "toolkit/state.h"

namespace kavro {
namespace {

constexpr int LINE_BUFFER_SIZE = 512;

bool open_script(const char* mode, bool writing) {
    state.script_file = std::fopen(SCRIPT_FILE_NAME, mode);
    state.script_file_writing = writing;
    state.script_counts = ScriptCounts{};
    return state.script_file != nullptr;
}

void report(const char* format) { KAVRO_printf(format, SCRIPT_FILE_NAME); }

}  // namespace

void script_write_event(int kind, int x, int y, char key) {
    if (!state.script_file) {
        if (!open_script("w", true)) {
            report("Cannot open script file %s for writing\n");
            return;
        }
    }
    if (!state.script_file_writing) return;
    switch (kind) {
    case KAVRO_MOUSE: std::fprintf(state.script_file, "KAVRO_MOUSE(%d, %d);\n", x, y); break;
    case KAVRO_KBD:
        std::fprintf(state.script_file, "KAVRO_KBD(%d);\n", static_cast<int>(static_cast<signed char>(key)));
        break;
    case KAVRO_PERIODIC: std::fprintf(state.script_file, "KAVRO_PERIODIC(%d);\n", state.periodic_count); break;
    // The opt-in events: each its own form, with a letter after "KAVRO_" that
    // the classic three never use, so old readers and files are unaffected.
    case KAVRO_KEY_PRESS: std::fprintf(state.script_file, "KAVRO_DOWN(%d);\n", x); break;
    case KAVRO_KEY_RELEASE: std::fprintf(state.script_file, "KAVRO_UP(%d);\n", x); break;
    case KAVRO_BUTTON_DOWN:
    case KAVRO_BUTTON_UP:
        std::fprintf(state.script_file, "KAVRO_BUTTON(%d, %d, %d, %d);\n", x, y, static_cast<int>(key),
                     kind == KAVRO_BUTTON_DOWN ? 1 : 0);
        break;
    case KAVRO_MOTION: std::fprintf(state.script_file, "KAVRO_AT(%d, %d);\n", x, y); break;
    case KAVRO_WHEEL:
        std::fprintf(state.script_file, "KAVRO_WHEEL(%d, %d, %d);\n", x, y,
                     static_cast<int>(static_cast<signed char>(key)));
        break;
    default: break;
    }
}

namespace {

// The line at hand was no event; playback ends with it.
int not_an_event() {
    state.script_counts.stopped_at_line = state.script_counts.lines;
    return 0;
}

bool read_line(char (&line)[LINE_BUFFER_SIZE]) {
    if (!std::fgets(line, sizeof line, state.script_file)) return false;
    ++state.script_counts.lines;
    return true;
}

int read_script_event() {
    if (!state.script_file) {
        if (!open_script("r", false)) {
            report("Cannot open script file %s for reading\n");
            stop_playback();
            return 0;
        }
    }
    if (state.periodic_count > 0) {
        state.pending.kind = KAVRO_PERIODIC;
        --state.periodic_count;
        return 1;
    }
    if (state.script_file_writing) return 0;
    char line[LINE_BUFFER_SIZE];
    bool got = read_line(line);
    while (got && !std::feof(state.script_file) && line[0] == '\n') {
        ++state.script_counts.blank_lines;
        got = read_line(line);
    }
    if (std::feof(state.script_file)) {
        report("EOF encountered in script file %s\n");
        stop_playback();
        return 0;
    }
    // A failed read leaves nothing to replay.
    if (!got) return 0;
    ScriptEvent event;
    if (!parse_script_line(line, event)) return not_an_event();
    state.pending = PendingEvent{event.kind, event.x, event.y, event.key};
    if (event.kind == KAVRO_PERIODIC) state.periodic_count = event.count - 1;
    return 1;
}

}  // namespace

int script_read_event() {
    int found = read_script_event();
    // Lines of kinds the program did not ask for are passed over, leaving nothing behind.
    while (found && !wanted_event_kind(state.pending.kind)) {
        state.pending = PendingEvent{NO_EVENT, 0, 0, 0};
        found = read_script_event();
    }
    if (found) ++state.script_counts.events;
    return found;
}

void stop_playback() {
    state.playing = 0;
    state.play_one = 0;
    platform::check_menu_item(state.run_menu, CMD_PLAYBACK, false);
}

void stop_recording() {
    if (state.periodic_count > 0) {
        script_write_event(KAVRO_PERIODIC, 0, 0, 0);
        state.periodic_count = 0;
    }
    close_script_file();
}

void close_script_file() {
    if (state.script_file) {
        std::fclose(state.script_file);
        state.script_file = nullptr;
    }
}

}  // namespace kavro
