// How many screen pixels one of our pixels takes on a high-density display.
// Programs, pictures and replays always work in unscaled pixels; only the
// screen backend multiplies (nearest neighbour) and divides mouse positions.
#pragma once

#include "platform/base/bitmap.h"

namespace platform {

constexpr int MAX_DISPLAY_SCALE = 3;
// A scale is chosen only where a window this large still fits the screen.
constexpr Size SCALED_WINDOW_ROOM{640, 560};

// requested: KAVRO_SCALE's text ("1", "2" or "3"), or null/empty for the
// automatic choice from the display's density (dpi, 0 when unknown) and size,
// never so large that a window of `largest` (unscaled) leaves the screen.
// Any other text is said in one line on stderr and the choice is automatic.
int choose_display_scale(const char* requested, double dpi, Size screen, Size largest);

}  // namespace platform
