// Opaque handles. They stay safe to pass after the thing is gone: every
// operation on a stale handle does nothing and reports failure.
#pragma once

#include <cstdint>

namespace platform {

enum class Window : std::uint32_t { NONE = 0 };
enum class Menu : std::uint32_t { NONE = 0 };
enum class DrawingContext : std::uint64_t { NONE = 0 };
// Pens, brushes, fonts and bitmaps.
enum class DrawingObject : std::uint64_t { NONE = 0 };

}  // namespace platform
