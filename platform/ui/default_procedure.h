// The default window procedure: what a window does with a message its own
// procedure leaves alone, including everything about its menu bar.
#pragma once

#include <cstdint>

#include "platform/base/messages.h"

namespace platform {

// Close destroys the window; paint validates it; Alt, F10 and presses on the
// bar open its menu; the bar and an open popup are painted here; everything
// else answers 0.
std::intptr_t default_window_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position);

}  // namespace platform
