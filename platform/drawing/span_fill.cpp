// The wide store of long pixel runs, chosen once for the processor.
#include "platform/drawing/span_fill.h"

namespace platform {

// Long runs are built for wide stores where the processor has them, picked
// once at load time. The stores are written out as 32-byte vectors so that
// they stay wide at -O2 too, where the compiler leaves such loops alone.
__attribute__((target_clones("avx2", "default"))) void fill_wide(Pixel* row, std::int64_t count, Pixel pixel) {
    using Wide = Pixel __attribute__((vector_size(32), may_alias));
    std::int64_t i = 0;
    if (count >= 16) {
        // Up to a 32-byte boundary first: a store split across two cache lines costs two.
        for (; (reinterpret_cast<std::uintptr_t>(row + i) & 31) != 0; ++i) row[i] = pixel;
        const Wide wide = Wide{} + pixel;
        for (; i + 8 <= count; i += 8) *reinterpret_cast<Wide*>(row + i) = wide;
    }
    for (; i < count; ++i) row[i] = pixel;
}

}  // namespace platform
