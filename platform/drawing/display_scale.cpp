// The whole-number scale for a display: from the density it reports, its size,
// or KAVRO_SCALE, never larger than the screen holds.
#include "platform/drawing/display_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

// The density our pixels were designed for.
constexpr double DESIGN_DPI = 96.0;
// A screen this tall is a high-density one even when it does not say its density.
constexpr int HIGH_DENSITY_HEIGHT = 2000;

}  // namespace

int choose_display_scale(const char* requested, double dpi, Size screen, Size largest) {
    if (requested && *requested) {
        if (std::strlen(requested) == 1 && requested[0] >= '1' && requested[0] <= '0' + MAX_DISPLAY_SCALE)
            return requested[0] - '0';
        std::fprintf(stderr, "kavro: KAVRO_SCALE=%s is not 1, 2 or 3; the scale follows the display\n", requested);
    }
    int scale = dpi > 0 ? static_cast<int>(std::lround(dpi / DESIGN_DPI)) : 1;
    if (screen.height >= HIGH_DENSITY_HEIGHT) scale = std::max(scale, 2);
    scale = std::clamp(scale, 1, MAX_DISPLAY_SCALE);
    while (scale > 1 && (static_cast<long long>(largest.width) * scale > screen.width ||
                         static_cast<long long>(largest.height) * scale > screen.height))
        --scale;
    return scale;
}

}  // namespace platform
