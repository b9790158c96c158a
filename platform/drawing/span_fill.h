// The one clipped fill of pixel runs: the rasterizer's shapes, the fonts'
// glyphs and the windows' erasing all end in these, so clipping, the wide
// stores and the span observer are written once.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/base/bitmap.h"
#include "platform/drawing/span_observer.h"

namespace platform {

// Sets count pixels from row on with wide stores where the processor has them.
void fill_wide(Pixel* row, std::int64_t count, Pixel pixel);

// The writable area: the target's clip, kept inside the row width so a careless
// clip cannot push writes past the stride.
struct Clip {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

inline Clip clip_of(const PixelTarget& target) {
    Clip c{std::max(target.clip.left, 0), std::max(target.clip.top, 0), std::min(target.clip.right, target.stride),
           target.clip.bottom};
    if (target.pixels == nullptr || c.empty()) return Clip{};
    return c;
}

// Every filled run goes through here. Narrow ones (rain, lane dashes,
// outlines) are cheaper written in place than through the chosen clone.
inline void fill_row(Pixel* row, std::int64_t count, Pixel pixel) {
    if (count < 8)
        for (std::int64_t i = 0; i < count; ++i) row[i] = pixel;
    else
        fill_wide(row, count, pixel);
}

inline Pixel* pixel_at(const PixelTarget& target, std::int64_t x, std::int64_t y) {
    return target.pixels + static_cast<std::ptrdiff_t>(y) * target.stride + x;
}

inline void fill_clipped(const PixelTarget& target, const Clip& clip, std::int64_t left, std::int64_t top,
                         std::int64_t right, std::int64_t bottom, Pixel pixel) {
    left = std::max(left, clip.left);
    right = std::min(right, clip.right);
    top = std::max(top, clip.top);
    bottom = std::min(bottom, clip.bottom);
    if (right <= left || bottom <= top) return;
    Pixel* row = pixel_at(target, left, top);
    const std::int64_t count = right - left;
    if (count == 1 && !detail::span_observer) {
        // One-pixel columns (vertical lines, outline sides) go straight down.
        for (std::int64_t y = top; y < bottom; ++y, row += target.stride) *row = pixel;
        return;
    }
    for (std::int64_t y = top; y < bottom; ++y, row += target.stride) {
        detail::observe_span(row, count, pixel);
        fill_row(row, count, pixel);
    }
}

// Inclusive span first .. last of row y.
inline void fill_span(const PixelTarget& target, const Clip& clip, std::int64_t y, std::int64_t first,
                      std::int64_t last, Pixel pixel) {
    if (y < clip.top || y >= clip.bottom) return;
    first = std::max(first, clip.left);
    last = std::min(last, clip.right - 1);
    if (last < first) return;
    Pixel* row = pixel_at(target, first, y);
    const std::int64_t count = last - first + 1;
    detail::observe_span(row, count, pixel);
    fill_row(row, count, pixel);
}

}  // namespace platform
