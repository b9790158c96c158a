// A fresh toolkit on the headless backend for every fuzz input, so that a
// finding replays from its input alone.
#pragma once

#include <cstdint>

#include "platform/backends/headless_backend.h"
#include "platform/core/window.h"
#include "platform/ui/platform_reset.h"
#include "toolkit/inspect.h"
#include "toolkit/kavro.h"

namespace fuzz_support {

// Opens the toolkit with logging off; a wait for input that never comes ends
// in a quit after time_limit_ms of virtual time.
inline platform::HeadlessBackend& open_toolkit(std::int64_t time_limit_ms) {
    kavro::reset_toolkit_state();
    platform::reset_platform();
    platform::HeadlessBackend& headless = platform::install_headless_backend(platform::Size{1024, 768}, 0);
    headless.set_time_limit(time_limit_ms);
    static int instance;
    KAVRO_open(&instance, nullptr, "", platform::SHOW_NORMAL);
    KAVRO_logging(0);
    return headless;
}

}  // namespace fuzz_support
