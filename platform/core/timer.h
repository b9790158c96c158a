// Periodic timers. A timer message is never queued: when nothing else waits
// and a timer is due, the queue hands out one message for it; missed periods
// coalesce into that one.
#pragma once

#include <cstdint>

#include "platform/base/messages.h"

namespace platform {

// Starts or restarts the timer (window, identifier). Returns the identifier, 0 on failure.
unsigned set_timer(Window window, unsigned identifier, unsigned period_ms);
bool kill_timer(Window window, unsigned identifier);
// Deadline of the earliest timer in monotonic ms, or -1 when there is none.
std::int64_t next_timer_deadline();
// Takes the earliest due timer (now >= deadline) and moves it past now; false when none is due.
bool take_due_timer(std::int64_t now, Message& message);
void reset_timers();

}  // namespace platform
