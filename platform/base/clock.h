// The two clocks, supplied by the backend (virtual under the headless one).
#pragma once

#include <cstdint>

namespace platform {

std::int64_t monotonic_ms();
std::int64_t calendar_seconds();

}  // namespace platform
