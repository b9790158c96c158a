// The grammar of one script line, loose on purpose: the text between the
// numbers is never checked, so hand-edited scripts play as long as the
// letter and the numbers are where playback looks for them.
#include "toolkit/script_line.h"

#include <algorithm>
#include <cstring>

#include "toolkit/kavro.h"

namespace kavro {
namespace {

constexpr int NUMBER_FIELD = 11;

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

}  // namespace

bool parse_script_line(const char* line, ScriptEvent& event) {
    event = ScriptEvent{};
    if (std::strlen(line) <= 6) return false;
    const char* cursor = line + 6;
    switch (line[6]) {
    case 'M': {
        std::int32_t x = 0;
        std::int32_t y = 0;
        if (!next_number(cursor, true, x) || !next_number(cursor, true, y)) return false;
        event = ScriptEvent{KAVRO_MOUSE, x, y, 0, 0};
        return true;
    }
    case 'K': {
        std::int32_t code = 0;
        if (!next_number(cursor, true, code)) return false;
        event = ScriptEvent{KAVRO_KBD, 0, 0, static_cast<char>(static_cast<std::uint32_t>(code) & 0xFF), 0};
        return true;
    }
    case 'P': {
        std::int32_t count = 0;
        if (!next_number(cursor, false, count)) return false;
        event = ScriptEvent{KAVRO_PERIODIC, 0, 0, 0, count};
        return true;
    }
    case 'D':
    case 'U': {
        std::int32_t code = 0;
        if (!next_number(cursor, false, code) || code > 255) return false;
        event = ScriptEvent{line[6] == 'D' ? KAVRO_KEY_PRESS : KAVRO_KEY_RELEASE, code, 0, 0, 0};
        return true;
    }
    case 'B': {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t button = 0;
        std::int32_t pressed = 0;
        if (!next_number(cursor, true, x) || !next_number(cursor, true, y) || !next_number(cursor, false, button) ||
            !next_number(cursor, false, pressed) || button < KAVRO_BUTTON_LEFT || button > KAVRO_BUTTON_RIGHT ||
            pressed > 1)
            return false;
        event = ScriptEvent{pressed ? KAVRO_BUTTON_DOWN : KAVRO_BUTTON_UP, x, y, static_cast<char>(button), 0};
        return true;
    }
    case 'A': {
        std::int32_t x = 0;
        std::int32_t y = 0;
        if (!next_number(cursor, true, x) || !next_number(cursor, true, y)) return false;
        event = ScriptEvent{KAVRO_MOTION, x, y, 0, 0};
        return true;
    }
    case 'W': {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t steps = 0;
        if (!next_number(cursor, true, x) || !next_number(cursor, true, y) || !next_number(cursor, true, steps))
            return false;
        event = ScriptEvent{KAVRO_WHEEL, x, y, static_cast<char>(std::clamp(steps, -127, 127)), 0};
        return true;
    }
    default: return false;
    }
}

}  // namespace kavro
