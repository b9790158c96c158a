// Periodic timers on the monotonic clock; due ones are handed out by the queue.
#include "platform/core/timer.h"

#include <vector>

#include "platform/base/clock.h"
#include "platform/core/window_records.h"

namespace platform {
namespace {

struct TimerRecord {
    Window window = Window::NONE;
    unsigned identifier = 0;
    std::int64_t period = 0;
    std::int64_t due = 0;
};

std::vector<TimerRecord> timers;

// A destroyed window's timers go with it; handles are never reused, so none
// can fire for a later window.
void drop_timers_of_destroyed_windows() {
    std::erase_if(timers, [](const TimerRecord& timer) { return !detail::find_window(timer.window); });
}

}  // namespace

unsigned set_timer(Window window, unsigned identifier, unsigned period_ms) {
    if (!detail::find_window(window)) return 0;
    std::int64_t period = period_ms == 0 ? 1 : period_ms;
    std::int64_t due = monotonic_ms() + period;
    for (TimerRecord& timer : timers) {
        if (timer.window == window && timer.identifier == identifier) {
            timer.period = period;
            timer.due = due;
            return identifier == 0 ? 1 : identifier;
        }
    }
    timers.push_back(TimerRecord{window, identifier, period, due});
    return identifier == 0 ? 1 : identifier;
}

bool kill_timer(Window window, unsigned identifier) {
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        if (it->window == window && it->identifier == identifier) {
            timers.erase(it);
            return true;
        }
    }
    return false;
}

std::int64_t next_timer_deadline() {
    drop_timers_of_destroyed_windows();
    std::int64_t earliest = -1;
    for (const TimerRecord& timer : timers)
        if (earliest < 0 || timer.due < earliest) earliest = timer.due;
    return earliest;
}

bool take_due_timer(std::int64_t now, Message& message) {
    drop_timers_of_destroyed_windows();
    TimerRecord* earliest = nullptr;
    for (TimerRecord& timer : timers)
        if (timer.due <= now && (!earliest || timer.due < earliest->due)) earliest = &timer;
    if (!earliest) return false;
    message = Message{earliest->window, MSG_TIMER, earliest->identifier, 0};
    // Missed periods coalesce: the next deadline is the first one after now.
    std::int64_t missed = (now - earliest->due) / earliest->period + 1;
    earliest->due += missed * earliest->period;
    return true;
}

void reset_timers() { timers.clear(); }

}  // namespace platform
