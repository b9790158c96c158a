// One line of an event script read into the event it stands for. It touches
// no toolkit state, so the grammar can be checked on its own; playback
// (scripts.cpp) delivers what it reads.
#pragma once

#include <cstdint>

namespace kavro {

// The event of one line: kind, x, y and key as KAVRO_await_event hands them
// out. For KAVRO_PERIODIC, count is how many periodic events the line stands
// for; a count below one still gives one.
struct ScriptEvent {
    std::int32_t kind = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    char key = 0;
    std::int32_t count = 0;
};

// The letter at index 6 picks the form ('M', 'K', 'P', 'D', 'U', 'B', 'A' or
// 'W'); its numbers are the runs of digits (and '-' where signed) from index 6
// on, each cut to its first 11 characters and clamped to 32 bits. False when
// the line is no event: 6 characters or fewer, another letter, a number
// missing or out of its form's range.
bool parse_script_line(const char* line, ScriptEvent& event);

}  // namespace kavro
