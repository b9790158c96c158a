// Every primitive clips against the target once, then fills horizontal spans
// (wide stores for long runs). Exact integer arithmetic (128-bit, 256-bit for ellipse products)
// keeps huge shapes identical to what the unclipped rule would give.
#include "platform/drawing/rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

#include "platform/drawing/span_fill.h"
#include "platform/drawing/span_observer.h"

namespace platform {

namespace detail {
SpanObserver span_observer = nullptr;
void* span_observer_context = nullptr;
}  // namespace detail

void set_span_observer(SpanObserver observer, void* context) {
    detail::span_observer = observer;
    detail::span_observer_context = context;
}

namespace {

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 Uint128;

constexpr std::int64_t COORD_LIMIT = std::int64_t{1} << 60;
// Polygons whose vertices all lie within this bound use 64-bit crossing arithmetic.
constexpr std::int64_t SMALL_POLYGON_LIMIT = std::int64_t{1} << 28;
// Ellipses up to this size compute spans in 64 bits.
constexpr std::int64_t SMALL_ELLIPSE_LIMIT = std::int64_t{1} << 15;
constexpr int LOCAL_EDGES = 64;

std::int64_t clamp_coord(std::int64_t v) { return std::clamp(v, -COORD_LIMIT, COORD_LIMIT); }

std::int64_t pen_width(const PenStyle& pen) { return pen.width <= 1 ? 1 : pen.width; }

// Rounding divisions for a positive divisor.
template <typename T>
T floor_div(T a, T b) {
    T q = a / b;
    if (a % b != 0 && a < 0) --q;
    return q;
}

template <typename T>
T ceil_div(T a, T b) {
    T q = a / b;
    if (a % b != 0 && a > 0) ++q;
    return q;
}

struct Box {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    Box grown(std::int64_t by) const { return Box{left - by, top - by, right + by, bottom + by}; }
    bool misses(const Clip& c) const {
        return right <= c.left || left >= c.right || bottom <= c.top || top >= c.bottom;
    }
};

Box normalised_box(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    Box b{clamp_coord(left), clamp_coord(top), clamp_coord(right), clamp_coord(bottom)};
    if (b.left > b.right) std::swap(b.left, b.right);
    if (b.top > b.bottom) std::swap(b.top, b.bottom);
    return b;
}

// ---- Ellipse spans ----

struct U256 {
    Uint128 high = 0;
    Uint128 low = 0;
};

U256 multiply(Uint128 a, Uint128 b) {
    const Uint128 mask = ~std::uint64_t{0};
    Uint128 a0 = a & mask, a1 = a >> 64, b0 = b & mask, b1 = b >> 64;
    Uint128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    Uint128 middle = (p00 >> 64) + (p01 & mask) + (p10 & mask);
    return U256{p11 + (p01 >> 64) + (p10 >> 64) + (middle >> 64), (middle << 64) | (p00 & mask)};
}

bool less_or_equal(const U256& a, const U256& b) { return a.high < b.high || (a.high == b.high && a.low <= b.low); }

// Largest k >= 0 with k^2 h^2 <= w^2 q, i.e. floor(w * sqrt(q) / h); q <= h^2.
std::int64_t ellipse_half_span(std::int64_t w, std::int64_t h, Uint128 q) {
    if (w <= SMALL_ELLIPSE_LIMIT && h <= SMALL_ELLIPSE_LIMIT) {
        // Every product stays below 2^61: estimate in floating point, settle exactly.
        const auto uq = static_cast<std::uint64_t>(q);
        const auto limit = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(w) * uq;
        const auto hh = static_cast<std::uint64_t>(h) * static_cast<std::uint64_t>(h);
        auto k = static_cast<std::int64_t>(static_cast<double>(w) * std::sqrt(static_cast<double>(uq)) /
                                           static_cast<double>(h));
        k = std::clamp(k, std::int64_t{0}, w);
        auto square = [](std::int64_t n) { return static_cast<std::uint64_t>(n) * static_cast<std::uint64_t>(n); };
        while (k > 0 && square(k) * hh > limit) --k;
        while (k < w && square(k + 1) * hh <= limit) ++k;
        return k;
    }
    const Uint128 hh = static_cast<Uint128>(h) * static_cast<Uint128>(h);
    const U256 limit = multiply(static_cast<Uint128>(w) * static_cast<Uint128>(w), q);
    auto fits = [&](std::int64_t k) {
        return less_or_equal(multiply(static_cast<Uint128>(k) * static_cast<Uint128>(k), hh), limit);
    };
    long double estimate =
        static_cast<long double>(w) * std::sqrt(static_cast<long double>(q)) / static_cast<long double>(h);
    std::int64_t k = std::clamp(static_cast<std::int64_t>(estimate), std::int64_t{0}, w);
    while (k > 0 && !fits(k)) --k;
    while (k < w && fits(k + 1)) ++k;
    return k;
}

struct Span {
    std::int64_t first = 0;
    std::int64_t last = -1;
    bool empty() const { return last < first; }
};

// Half-span k of row y of the ellipse inscribed in a box, from scratch; -1 outside
// the box. Kept out of line so that the stepping below inlines into the row loops.
[[gnu::noinline]] std::int64_t row_half_span(const Box& box, std::int64_t y) {
    if (box.empty() || y < box.top || y >= box.bottom) return -1;
    const std::int64_t h = box.bottom - box.top;
    const std::int64_t v = 2 * (y - box.top) + 1 - h;
    const Uint128 q =
        static_cast<Uint128>(h) * static_cast<Uint128>(h) - static_cast<Uint128>(static_cast<Int128>(v) * v);
    return ellipse_half_span(box.right - box.left, h, q);
}

// Spans of successive rows of the ellipse inscribed in a box. On small boxes k is
// stepped from row to row with the exact test kept as a running difference, so a
// row costs a few additions rather than a square root: k moves only one way on
// each side of the middle. Large boxes solve every row in 256 bits.
class EllipseRows {
public:
    EllipseRows(const Box& box, std::int64_t y)
        : box_(box),
          w_(box.right - box.left),
          h_(box.bottom - box.top),
          small_(w_ <= SMALL_ELLIPSE_LIMIT && h_ <= SMALL_ELLIPSE_LIMIT),
          y_(y) {
        solve();
    }

    Span span() const {
        if (k_ < 0) return Span{};
        const std::int64_t centre_twice = box_.left + box_.right - 1;
        return Span{(centre_twice - k_ + 1) >> 1, (centre_twice + k_) >> 1};
    }

    void next() {
        if (++y_ < step_end_)
            step();
        else
            solve();
    }

private:
    void solve() {
        k_ = row_half_span(box_, y_);
        step_end_ = y_;
        if (!small_ || k_ < 0) return;
        step_end_ = box_.bottom;
        // q = h^2 - v^2 with v = 2(y - top) + 1 - h; every product stays below 2^62.
        const std::int64_t ww = w_ * w_, v = 2 * (y_ - box_.top) + 1 - h_, hh = h_ * h_;
        two_hh_ = 2 * hh;
        slack_ = ww * (hh - v * v) - (k_ + 1) * (k_ + 1) * hh;
        rise_ = (2 * k_ + 3) * hh;
        row_gain_ = -4 * ww * (v + 1);
        row_gain_step_ = 8 * ww;
    }

    // slack_ is w^2 q - (k+1)^2 h^2: k may grow while it is not negative, each step
    // costing rise_ = (2k+3) h^2. Since 0 <= w^2 q <= w^2 h^2 < (w+1)^2 h^2, k stays
    // within 0 .. w.
    void step() {
        slack_ += row_gain_;
        row_gain_ -= row_gain_step_;
        while (slack_ >= 0) {
            ++k_;
            slack_ -= rise_;
            rise_ += two_hh_;
        }
        while (slack_ + rise_ < two_hh_) {
            --k_;
            rise_ -= two_hh_;
            slack_ += rise_;
        }
    }

    Box box_;
    std::int64_t w_, h_;
    bool small_;
    std::int64_t y_;
    std::int64_t k_ = -1;
    std::int64_t step_end_ = 0;  // rows before it step from the previous one
    std::int64_t two_hh_ = 0, slack_ = 0, rise_ = 0, row_gain_ = 0, row_gain_step_ = 0;
};

void fill_ellipse(const PixelTarget& target, const Clip& clip, const Box& box, Pixel pixel) {
    if (box.empty() || box.misses(clip)) return;
    const std::int64_t top = std::max(box.top, clip.top);
    const std::int64_t bottom = std::min(box.bottom, clip.bottom);
    // Rows mirrored about the middle have the same span, so only upper rows are
    // worked out: those visible, then those whose mirror is, two overlapping runs
    // that both end at the middle when both exist. Walking down, k only grows.
    const std::int64_t mirror_sum = box.top + box.bottom - 1;
    const std::int64_t middle = box.top + (box.bottom - box.top - 1) / 2;
    std::int64_t first = top, last = std::min(middle, bottom - 1);
    if (mirror_sum - (bottom - 1) <= middle) {
        const std::int64_t mirrors_last = std::min(middle, mirror_sum - top);
        first = top <= middle ? std::min(top, mirror_sum - (bottom - 1)) : mirror_sum - (bottom - 1);
        first = std::max(first, box.top);
        last = top <= middle ? std::max(last, mirrors_last) : mirrors_last;
    }
    EllipseRows rows(box, first);
    for (std::int64_t y = first; y <= last; ++y, rows.next()) {
        const Span s = rows.span();
        fill_span(target, clip, y, s.first, s.last, pixel);
        if (mirror_sum - y != y) fill_span(target, clip, mirror_sum - y, s.first, s.last, pixel);
    }
}

void outline_ellipse_thin(const PixelTarget& target, const Clip& clip, const Box& box, Pixel pen,
                          const BrushStyle& brush) {
    if (box.misses(clip)) return;
    const std::int64_t top = std::max(box.top, clip.top);
    const std::int64_t bottom = std::min(box.bottom, clip.bottom);
    EllipseRows rows(box, top - 1);
    Span above = rows.span();
    rows.next();
    Span here = rows.span();
    for (std::int64_t y = top; y < bottom; ++y) {
        rows.next();
        Span below = rows.span();
        Span inner;
        if (!above.empty() && !below.empty()) {
            inner.first = std::max({here.first + 1, above.first, below.first});
            inner.last = std::min({here.last - 1, above.last, below.last});
        }
        if (inner.empty()) {
            fill_span(target, clip, y, here.first, here.last, pen);
        } else {
            fill_span(target, clip, y, here.first, inner.first - 1, pen);
            fill_span(target, clip, y, inner.last + 1, here.last, pen);
            if (!brush.null) fill_span(target, clip, y, inner.first, inner.last, brush.pixel);
        }
        above = here;
        here = below;
    }
}

// ---- Lines ----

// One pixel of the thin line, widened across the major axis (a wide pen's stamp;
// one-pixel lines write their pixels directly).
struct LineStamp {
    const PixelTarget& target;
    const Clip& clip;
    Pixel pixel;
    std::int64_t width;
    bool x_major;

    void operator()(std::int64_t x, std::int64_t y) const {
        const std::int64_t before = width / 2;
        if (x_major) {
            if (x < clip.left || x >= clip.right) return;
            const std::int64_t first = std::max(y - before, clip.top);
            const std::int64_t end = std::min(y - before + width, clip.bottom);
            Pixel* p = pixel_at(target, x, first);
            for (std::int64_t row = first; row < end; ++row, p += target.stride) {
                detail::observe_span(p, 1, pixel);
                *p = pixel;
            }
        } else {
            fill_span(target, clip, y, x - before, x - before + width - 1, pixel);
        }
    }
};

// The pixels of a one-pixel line from pixels[at] on: count steps of major, each
// followed by one of minor when the Bresenham remainder carries. The caller has
// kept every step inside the clip, so nothing is tested per pixel.
template <bool OBSERVED>
void write_thin_line(Pixel* pixels, std::ptrdiff_t at, std::int64_t count, std::ptrdiff_t major, std::ptrdiff_t minor,
                     std::int64_t remainder, std::int64_t two_du, std::int64_t two_dv, Pixel pixel) {
    for (; count > 0; --count) {
        if constexpr (OBSERVED) detail::observe_span(pixels + at, 1, pixel);
        pixels[at] = pixel;
        at += major;
        remainder += two_dv;
        if (remainder >= two_du) {
            remainder -= two_du;
            at += minor;
        }
    }
}

// Walks the thin line in major/minor coordinates over just the steps whose stamp
// can touch the clip: [u_lo, u_hi) along the major axis, [v_lo, v_hi) across it.
void walk_line(std::int64_t u0, std::int64_t v0, std::int64_t u1, std::int64_t v1, std::int64_t u_lo, std::int64_t u_hi,
               std::int64_t v_lo, std::int64_t v_hi, const LineStamp& stamp) {
    const std::int64_t su = u1 > u0 ? 1 : -1;
    const std::int64_t sv = v1 >= v0 ? 1 : -1;
    const std::int64_t du = (u1 - u0) * su;
    const std::int64_t dv = (v1 - v0) * sv;

    std::int64_t i_begin = su > 0 ? u_lo - u0 : u0 - u_hi + 1;
    std::int64_t i_end = su > 0 ? u_hi - u0 : u0 - u_lo + 1;
    i_begin = std::max<std::int64_t>(i_begin, 0);
    i_end = std::min(i_end, du);

    // Minor offset m(i) = floor((2 i dv + du) / (2 du)) must stay in [m_lo, m_hi].
    const std::int64_t m_lo = sv > 0 ? v_lo - v0 : v0 - v_hi + 1;
    const std::int64_t m_hi = sv > 0 ? v_hi - 1 - v0 : v0 - v_lo;
    if (m_hi < m_lo) return;
    if (dv == 0) {
        if (m_lo > 0 || m_hi < 0) return;
    } else {
        const Int128 two_dv = Int128{2} * dv;
        const Int128 lo = ceil_div<Int128>((Int128{2} * m_lo - 1) * du, two_dv);
        const Int128 hi = ceil_div<Int128>((Int128{2} * m_hi + 1) * du, two_dv);
        if (lo > i_begin) i_begin = static_cast<std::int64_t>(std::min<Int128>(lo, du));
        if (hi < i_end) i_end = static_cast<std::int64_t>(std::max<Int128>(hi, 0));
    }
    if (i_end <= i_begin) return;

    const std::int64_t two_du = 2 * du;
    const std::int64_t two_dv = 2 * dv;
    const Int128 numerator = Int128{2} * i_begin * dv + du;
    std::int64_t offset = static_cast<std::int64_t>(numerator / two_du);
    std::int64_t remainder = static_cast<std::int64_t>(numerator % two_du);
    if (stamp.width == 1) {
        // A one-pixel stamp touches the clip only where it lies inside it.
        const std::ptrdiff_t stride = stamp.target.stride;
        const std::int64_t u = u0 + su * i_begin, v = v0 + sv * offset;
        const std::ptrdiff_t at = stamp.x_major ? v * stride + u : u * stride + v;
        const std::ptrdiff_t major = stamp.x_major ? su : su * stride;
        const std::ptrdiff_t minor = stamp.x_major ? sv * stride : sv;
        if (detail::span_observer)
            write_thin_line<true>(stamp.target.pixels, at, i_end - i_begin, major, minor, remainder, two_du, two_dv,
                                  stamp.pixel);
        else
            write_thin_line<false>(stamp.target.pixels, at, i_end - i_begin, major, minor, remainder, two_du, two_dv,
                                   stamp.pixel);
        return;
    }
    for (std::int64_t i = i_begin; i < i_end; ++i) {
        const std::int64_t u = u0 + su * i;
        const std::int64_t v = v0 + sv * offset;
        if (stamp.x_major)
            stamp(u, v);
        else
            stamp(v, u);
        remainder += two_dv;
        if (remainder >= two_du) {
            remainder -= two_du;
            ++offset;
        }
    }
}

// ---- Polygons ----

struct PolygonEdges {
    const Point64* points;
    int count;
    Point64 at(int i) const { return Point64{clamp_coord(points[i].x), clamp_coord(points[i].y)}; }
};

// The crossings of one edge a-b (a.y < b.y) with the lines through the centres of
// rows first_row .. end_row-1. On row y the span boundary is the first column whose
// centre lies at or right of the crossing, ceil(P / Q) with
// P = 2 a.x dy + (2 (y - a.y) + 1) dx - dy and Q = 2 dy. P grows by 2 dx per row,
// so the quotient and remainder are carried from row to row and only added to.
// Whatever the coordinates, they stay within 64 bits: |x| <= 2^61, Q <= 2^62.
struct EdgeCrossings {
    std::int64_t first_row, end_row;
    std::int64_t x;               // ceil(P / Q) of the current row
    std::int64_t remainder;       // x Q - P, in [0, Q)
    std::int64_t step;            // floor(2 dx / Q)
    std::int64_t step_remainder;  // 2 dx - step Q, in [0, Q)
    std::int64_t divisor;         // Q

    void advance() {
        x += step;
        remainder -= step_remainder;
        if (remainder < 0) {
            remainder += divisor;
            ++x;
        }
    }
};

// Wide holds the first row's P, which needs 128 bits once coordinates pass
// SMALL_POLYGON_LIMIT.
template <typename Wide>
EdgeCrossings edge_crossings(const Point64& a, const Point64& b, std::int64_t first_row, std::int64_t end_row) {
    const std::int64_t dy = b.y - a.y;
    const std::int64_t two_dx = 2 * (b.x - a.x);
    const Wide divisor = Wide{2} * dy;
    const Wide p = Wide{2} * a.x * dy + (Wide{2} * (first_row - a.y) + 1) * (b.x - a.x) - dy;
    const Wide x = ceil_div<Wide>(p, divisor);
    EdgeCrossings e;
    e.first_row = first_row;
    e.end_row = end_row;
    e.x = static_cast<std::int64_t>(x);
    e.remainder = static_cast<std::int64_t>(x * divisor - p);
    e.divisor = 2 * dy;
    e.step = floor_div<std::int64_t>(two_dx, e.divisor);
    e.step_remainder = two_dx - e.step * e.divisor;
    return e;
}

// Even-odd fill from an active edge list: each row's crossings come from the
// previous row's by additions, and an insertion sort restores their order, which
// changes only where edges enter, leave or cross.
void fill_polygon_rows(const PixelTarget& target, const Clip& clip, EdgeCrossings* edges, int count,
                       EdgeCrossings* active, std::int64_t top, std::int64_t bottom, Pixel pixel) {
    std::sort(edges, edges + count,
              [](const EdgeCrossings& a, const EdgeCrossings& b) { return a.first_row < b.first_row; });
    int entering = 0, live = 0;
    for (std::int64_t y = top; y < bottom;) {
        if (live == 0) {
            if (entering == count) return;
            y = std::max(y, edges[entering].first_row);
        }
        while (entering < count && edges[entering].first_row == y) active[live++] = edges[entering++];
        // Until the next edge enters or leaves, every row has the same edges.
        std::int64_t run_end = entering < count ? edges[entering].first_row : bottom;
        for (int i = 0; i < live; ++i) run_end = std::min(run_end, active[i].end_row);
        for (;;) {
            for (int i = 1; i < live; ++i) {
                if (active[i - 1].x <= active[i].x) continue;
                const EdgeCrossings e = active[i];
                int j = i;
                for (; j > 0 && active[j - 1].x > e.x; --j) active[j] = active[j - 1];
                active[j] = e;
            }
            for (int i = 0; i + 1 < live; i += 2) fill_span(target, clip, y, active[i].x, active[i + 1].x - 1, pixel);
            if (++y == run_end) break;
            for (int i = 0; i < live; ++i) active[i].advance();
        }
        int kept = 0;
        for (int i = 0; i < live; ++i) {
            if (active[i].end_row == y) continue;
            if (kept != i) active[kept] = active[i];
            active[kept++].advance();
        }
        live = kept;
    }
}

void fill_polygon(const PixelTarget& target, const Clip& clip, const PolygonEdges& edges, Pixel pixel) {
    std::int64_t min_x = COORD_LIMIT, max_x = -COORD_LIMIT;
    std::int64_t min_y = COORD_LIMIT, max_y = -COORD_LIMIT;
    for (int i = 0; i < edges.count; ++i) {
        Point64 p = edges.at(i);
        min_x = std::min(min_x, p.x);
        max_x = std::max(max_x, p.x);
        min_y = std::min(min_y, p.y);
        max_y = std::max(max_y, p.y);
    }
    const std::int64_t top = std::max(min_y, clip.top);
    const std::int64_t bottom = std::min(max_y, clip.bottom);
    if (bottom <= top || max_x < clip.left || min_x >= clip.right) return;

    EdgeCrossings local[LOCAL_EDGES];
    EdgeCrossings local_active[LOCAL_EDGES];
    EdgeCrossings* crossings = local;
    EdgeCrossings* active = local_active;
    if (edges.count > LOCAL_EDGES) {
        const auto n = static_cast<std::size_t>(edges.count);
        crossings = new (std::nothrow) EdgeCrossings[n];
        active = new (std::nothrow) EdgeCrossings[n];
    }
    if (crossings != nullptr && active != nullptr) {
        const bool small = std::max({-min_x, max_x, -min_y, max_y}) <= SMALL_POLYGON_LIMIT;
        int count = 0;
        for (int i = 0; i < edges.count; ++i) {
            Point64 a = edges.at(i);
            Point64 b = edges.at(i + 1 == edges.count ? 0 : i + 1);
            if (a.y == b.y) continue;
            if (a.y > b.y) std::swap(a, b);
            const std::int64_t first_row = std::max(a.y, top), end_row = std::min(b.y, bottom);
            if (end_row <= first_row) continue;
            crossings[count++] = small ? edge_crossings<std::int64_t>(a, b, first_row, end_row)
                                       : edge_crossings<Int128>(a, b, first_row, end_row);
        }
        fill_polygon_rows(target, clip, crossings, count, active, top, bottom, pixel);
    }
    if (crossings != local) delete[] crossings;
    if (active != local_active) delete[] active;
}

}  // namespace

void fill_rect(const PixelTarget& target, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
               Pixel pixel) {
    fill_clipped(target, clip_of(target), left, top, right, bottom, pixel);
}

void set_pixel(const PixelTarget& target, std::int64_t x, std::int64_t y, Pixel pixel) {
    const Clip clip = clip_of(target);
    if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom) {
        detail::observe_span(pixel_at(target, x, y), 1, pixel);
        *pixel_at(target, x, y) = pixel;
    }
}

void draw_rectangle(const PixelTarget& target, std::int64_t left, std::int64_t top, std::int64_t right,
                    std::int64_t bottom, const PenStyle& pen, const BrushStyle& brush) {
    const Clip clip = clip_of(target);
    const Box box = normalised_box(left, top, right, bottom);
    if (clip.empty() || box.empty()) return;
    if (pen.null) {
        if (!brush.null) fill_clipped(target, clip, box.left, box.top, box.right - 1, box.bottom - 1, brush.pixel);
        return;
    }
    const std::int64_t w = pen_width(pen);
    const Box outer = box.grown(w / 2);
    const Box inner = box.grown(-(w - w / 2));
    if (outer.misses(clip)) return;
    // Filled in the pen's own colour (every filled shape the toolkit draws):
    // outline and fill together are the outer box.
    if (inner.empty() || (!brush.null && brush.pixel == pen.pixel)) {
        fill_clipped(target, clip, outer.left, outer.top, outer.right, outer.bottom, pen.pixel);
        return;
    }
    fill_clipped(target, clip, outer.left, outer.top, outer.right, inner.top, pen.pixel);
    fill_clipped(target, clip, outer.left, inner.top, inner.left, inner.bottom, pen.pixel);
    if (!brush.null) fill_clipped(target, clip, inner.left, inner.top, inner.right, inner.bottom, brush.pixel);
    fill_clipped(target, clip, inner.right, inner.top, outer.right, inner.bottom, pen.pixel);
    fill_clipped(target, clip, outer.left, inner.bottom, outer.right, outer.bottom, pen.pixel);
}

void draw_ellipse(const PixelTarget& target, std::int64_t left, std::int64_t top, std::int64_t right,
                  std::int64_t bottom, const PenStyle& pen, const BrushStyle& brush) {
    const Clip clip = clip_of(target);
    const Box box = normalised_box(left, top, right, bottom);
    if (clip.empty() || box.empty()) return;
    if (pen.null) {
        if (!brush.null) fill_ellipse(target, clip, Box{box.left, box.top, box.right - 1, box.bottom - 1}, brush.pixel);
        return;
    }
    const std::int64_t w = pen_width(pen);
    // Filled in the pen's own colour, the ring and the inside are one shape.
    if (!brush.null && brush.pixel == pen.pixel) {
        fill_ellipse(target, clip, box.grown(w == 1 ? 0 : w / 2), pen.pixel);
        return;
    }
    if (w == 1) {
        outline_ellipse_thin(target, clip, box, pen.pixel, brush);
        return;
    }
    const Box outer = box.grown(w / 2);
    const Box inner = box.grown(-(w - w / 2));
    if (outer.misses(clip)) return;
    const std::int64_t first_row = std::max(outer.top, clip.top);
    const std::int64_t end_row = std::min(outer.bottom, clip.bottom);
    EllipseRows outer_rows(outer, first_row), inner_rows(inner, first_row);
    for (std::int64_t y = first_row; y < end_row; ++y, outer_rows.next(), inner_rows.next()) {
        const Span o = outer_rows.span();
        const Span i = inner_rows.span();
        if (i.empty()) {
            fill_span(target, clip, y, o.first, o.last, pen.pixel);
            continue;
        }
        fill_span(target, clip, y, o.first, i.first - 1, pen.pixel);
        if (!brush.null) fill_span(target, clip, y, i.first, i.last, brush.pixel);
        fill_span(target, clip, y, i.last + 1, o.last, pen.pixel);
    }
}

void draw_polygon(const PixelTarget& target, const Point64* points, int count, const PenStyle& pen,
                  const BrushStyle& brush) {
    const Clip clip = clip_of(target);
    if (clip.empty() || points == nullptr || count <= 0) return;
    const PolygonEdges edges{points, count};
    if (!brush.null && count >= 3) fill_polygon(target, clip, edges, brush.pixel);
    if (pen.null) return;
    for (int i = 0; i < count; ++i) {
        const Point64 a = edges.at(i);
        const Point64 b = edges.at(i + 1 == count ? 0 : i + 1);
        draw_line(target, a.x, a.y, b.x, b.y, pen);
    }
}

void draw_line(const PixelTarget& target, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
               const PenStyle& pen) {
    const Clip clip = clip_of(target);
    if (clip.empty() || pen.null) return;
    x0 = clamp_coord(x0);
    y0 = clamp_coord(y0);
    x1 = clamp_coord(x1);
    y1 = clamp_coord(y1);
    if (x0 == x1 && y0 == y1) return;
    const std::int64_t w = pen_width(pen);
    const std::int64_t before = w / 2;
    if (y0 == y1) {
        const std::int64_t first = x0 < x1 ? x0 : x1 + 1;
        const std::int64_t end = x0 < x1 ? x1 : x0 + 1;
        fill_clipped(target, clip, first, y0 - before, end, y0 - before + w, pen.pixel);
        return;
    }
    if (x0 == x1) {
        const std::int64_t first = y0 < y1 ? y0 : y1 + 1;
        const std::int64_t end = y0 < y1 ? y1 : y0 + 1;
        fill_clipped(target, clip, x0 - before, first, x0 - before + w, end, pen.pixel);
        return;
    }
    // A stamp centred on minor coordinate m covers [m - before, m - before + w), so
    // it touches [lo, hi) exactly when m lies in [lo - (w - before) + 1, hi + before).
    const std::int64_t after = w - before;
    const bool x_major = (x1 > x0 ? x1 - x0 : x0 - x1) >= (y1 > y0 ? y1 - y0 : y0 - y1);
    const LineStamp stamp{target, clip, pen.pixel, w, x_major};
    if (x_major)
        walk_line(x0, y0, x1, y1, clip.left, clip.right, clip.top - after + 1, clip.bottom + before, stamp);
    else
        walk_line(y0, x0, y1, x1, clip.top, clip.bottom, clip.left - after + 1, clip.right + before, stamp);
}

}  // namespace platform
