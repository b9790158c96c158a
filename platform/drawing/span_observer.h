// Lets a benchmark see every horizontal run of pixels the rasterizer and the
// text drawing write, to work out a turn's plain-fill floor. Off by default;
// the check costs one predictable branch per span.
#pragma once

#include <cstdint>

#include "platform/base/bitmap.h"

namespace platform {

using SpanObserver = void (*)(void* context, const Pixel* row_start, std::int64_t count, Pixel pixel);
void set_span_observer(SpanObserver observer, void* context);

namespace detail {
extern SpanObserver span_observer;
extern void* span_observer_context;
inline void observe_span(const Pixel* start, std::int64_t count, Pixel pixel) {
    if (span_observer) span_observer(span_observer_context, start, count, pixel);
}
}  // namespace detail

}  // namespace platform
