// Event scripts: recording the delivered events to "KAVRO.SCR" and playing
// them back. Recording and playback share one handle; the Run menu keeps the
// two apart so neither side reads or writes through the other's handle.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/ui/menu.h"
#include "toolkit/state.h"

namespace kavro {
namespace {

constexpr int LINE_BUFFER_SIZE = 512;
constexpr int NUMBER_FIELD = 11;

bool open_script(const char* mode, bool writing) {
    state.script_file = std::fopen(SCRIPT_FILE_NAME, mode);
    state.script_file_writing = writing;
    state.script_counts = ScriptCounts{};
    return state.script_file != nullptr;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Finds the next number run from *cursor on, never past the line's end. A
// signed run is digits and '-' wherever they stand; an unsigned one digits
// only. The run's first NUMBER_FIELD characters are converted as a leading
// optional sign and digits. False when the line holds no further run.
bool next_number(const char*& cursor, bool is_signed, std::int32_t& value) {
    auto in_run = [is_signed](char c) { return is_digit(c) || (is_signed && c == '-'); };
    while (*cursor && !in_run(*cursor)) ++cursor;
    if (!*cursor) return false;
    char field[NUMBER_FIELD + 1] = {};
    int length = 0;
    while (*cursor && in_run(*cursor)) {
        if (length < NUMBER_FIELD) field[length++] = *cursor;
        ++cursor;
    }
    const char* p = field;
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
    }
    std::int64_t magnitude = 0;
    while (is_digit(*p)) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > 2147483648LL) magnitude = 2147483648LL;
        ++p;
    }
    std::int64_t signed_value = negative ? -magnitude : magnitude;
    if (signed_value > 2147483647LL) signed_value = 2147483647LL;
    value = static_cast<std::int32_t>(signed_value);
    return true;
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
    std::size_t length = std::strlen(line);
    if (length <= 6) return not_an_event();
    const char* cursor = line + 6;
    switch (line[6]) {
    case 'M': {
        std::int32_t x = 0;
        std::int32_t y = 0;
        if (!next_number(cursor, true, x) || !next_number(cursor, true, y)) return not_an_event();
        state.pending.kind = KAVRO_MOUSE;
        state.pending.x = x;
        state.pending.y = y;
        return 1;
    }
    case 'K': {
        std::int32_t code = 0;
        if (!next_number(cursor, true, code)) return not_an_event();
        state.pending.kind = KAVRO_KBD;
        state.pending.key = static_cast<char>(static_cast<std::uint32_t>(code) & 0xFF);
        return 1;
    }
    case 'P': {
        std::int32_t count = 0;
        if (!next_number(cursor, false, count)) return not_an_event();
        state.pending.kind = KAVRO_PERIODIC;
        state.periodic_count = count - 1;
        return 1;
    }
    case 'D':
    case 'U': {
        std::int32_t code = 0;
        if (!next_number(cursor, false, code) || code > 255) return not_an_event();
        state.pending = PendingEvent{line[6] == 'D' ? KAVRO_KEY_PRESS : KAVRO_KEY_RELEASE, code, 0, 0};
        return 1;
    }
    case 'B': {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t button = 0;
        std::int32_t pressed = 0;
        if (!next_number(cursor, true, x) || !next_number(cursor, true, y) || !next_number(cursor, false, button) ||
            !next_number(cursor, false, pressed) || button < KAVRO_BUTTON_LEFT || button > KAVRO_BUTTON_RIGHT ||
            pressed > 1)
            return not_an_event();
        state.pending = PendingEvent{pressed ? KAVRO_BUTTON_DOWN : KAVRO_BUTTON_UP, x, y, static_cast<char>(button)};
        return 1;
    }
    case 'A': {
        std::int32_t x = 0;
        std::int32_t y = 0;
        if (!next_number(cursor, true, x) || !next_number(cursor, true, y)) return not_an_event();
        state.pending = PendingEvent{KAVRO_MOTION, x, y, 0};
        return 1;
    }
    case 'W': {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t steps = 0;
        if (!next_number(cursor, true, x) || !next_number(cursor, true, y) || !next_number(cursor, true, steps))
            return not_an_event();
        state.pending = PendingEvent{KAVRO_WHEEL, x, y, static_cast<char>(std::clamp(steps, -127, 127))};
        return 1;
    }
    default: return not_an_event();
    }
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
