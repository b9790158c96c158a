// The wide store of long pixel runs, chosen once for the processor.
#include "platform/drawing/span_fill.h"

#include <cstring>

namespace platform {

// Long runs are built for wide stores where the processor has them, picked
// once at load time. The stores are written out as 32-byte vectors so that
// they stay wide at -O2 too, where the compiler leaves such loops alone.
// The run's first and last eight pixels are one unaligned store each and may
// overlap the aligned ones between: no pixel-by-pixel head or tail.
__attribute__((target_clones("avx2", "default"))) void fill_wide(Pixel* row, std::int64_t count, Pixel pixel) {
    using Wide = Pixel __attribute__((vector_size(32), may_alias));
    const Wide wide = Wide{} + pixel;
    if (count < 8) {
        for (std::int64_t i = 0; i < count; ++i) row[i] = pixel;
        return;
    }
    Pixel* const last = row + count - 8;
    // Unaligned stores through memcpy: a vector type's alignment cannot portably be lowered.
    std::memcpy(row, &wide, sizeof wide);
    // A store split across two cache lines costs two, so the middle goes from a 32-byte boundary.
    auto* p = reinterpret_cast<Pixel*>((reinterpret_cast<std::uintptr_t>(row) + 32) & ~std::uintptr_t{31});
    for (; p < last; p += 8) *reinterpret_cast<Wide*>(p) = wide;
    std::memcpy(last, &wide, sizeof wide);
}

}  // namespace platform
