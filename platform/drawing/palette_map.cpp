// A small open-addressed map from pixels to palette indices, for the picture writers.
#include "platform/drawing/palette_map.h"

namespace platform {

void PaletteMap::clear() {
    slots_.fill(0);
    count_ = 0;
    last_pixel_ = 0xFFFFFFFF;
    last_index_ = 0;
}

int PaletteMap::find_or_add(Pixel pixel) {
    constexpr std::uint32_t MASK = (std::uint32_t{1} << SLOT_BITS) - 1;
    std::uint32_t slot = (pixel * 2654435761u) >> (32 - SLOT_BITS);
    for (;; slot = (slot + 1) & MASK) {
        const std::uint32_t held = slots_[slot];
        if (held == 0) break;
        if (held == (pixel | TAKEN)) {
            last_pixel_ = pixel;
            last_index_ = slot_indices_[slot];
            return last_index_;
        }
    }
    if (count_ == MAX_COLOURS) return -1;
    slots_[slot] = pixel | TAKEN;
    slot_indices_[slot] = static_cast<std::uint8_t>(count_);
    colours_[static_cast<std::size_t>(count_)] = pixel;
    last_pixel_ = pixel;
    last_index_ = count_++;
    return last_index_;
}

int PaletteMap::nearest(Pixel pixel) const {
    int best = 0;
    long best_distance = -1;
    for (int i = 0; i < count_; ++i) {
        const Pixel c = colours_[static_cast<std::size_t>(i)];
        const long dr = static_cast<long>((pixel >> 16) & 0xFF) - static_cast<long>((c >> 16) & 0xFF);
        const long dg = static_cast<long>((pixel >> 8) & 0xFF) - static_cast<long>((c >> 8) & 0xFF);
        const long db = static_cast<long>(pixel & 0xFF) - static_cast<long>(c & 0xFF);
        const long distance = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || distance < best_distance) {
            best_distance = distance;
            best = i;
        }
    }
    return best;
}

}  // namespace platform
