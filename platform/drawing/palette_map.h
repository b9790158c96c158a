// Colour to palette index for pictures of few colours, as the PNG and GIF
// writers need it: the colours get indices in the order they are first met.
#pragma once

#include <array>
#include <cstdint>

#include "platform/base/bitmap.h"

namespace platform {

class PaletteMap {
public:
    static constexpr int MAX_COLOURS = 256;

    // The colour's index, adding it while there is room; -1 once 256 colours
    // are taken. A run of one colour costs a compare.
    int index_of(Pixel pixel) {
        pixel &= 0xFFFFFF;
        if (pixel == last_pixel_) return last_index_;
        return find_or_add(pixel);
    }
    // The closest colour held, for a picture of more colours than a palette holds.
    int nearest(Pixel pixel) const;
    int size() const { return count_; }
    Pixel colour(int index) const { return colours_[static_cast<std::size_t>(index)]; }
    void clear();

private:
    int find_or_add(Pixel pixel);

    // Twice the colours a palette holds, so a probe ends soon; a taken slot
    // holds its colour with the TAKEN bit, and its index beside it.
    static constexpr int SLOT_BITS = 9;
    static constexpr std::uint32_t TAKEN = std::uint32_t{1} << 24;
    std::array<std::uint32_t, std::size_t{1} << SLOT_BITS> slots_{};
    std::array<std::uint8_t, std::size_t{1} << SLOT_BITS> slot_indices_{};
    std::array<Pixel, MAX_COLOURS> colours_{};
    int count_ = 0;
    Pixel last_pixel_ = 0xFFFFFFFF;  // never a colour: the top byte is cleared
    int last_index_ = 0;
};

}  // namespace platform
