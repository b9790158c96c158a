// Tests of the rasterizer's pixel rules for every shape, and its extremes.
#include "platform/drawing/rasterizer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/drawing/span_observer.h"
#include "support/test_support.h"

namespace {

using platform::Bitmap;
using platform::BrushStyle;
using platform::PenStyle;
using platform::Pixel;
using platform::PixelTarget;
using platform::Point64;
using platform::Rect;

__extension__ typedef __int128 Int128;

constexpr Pixel BACKGROUND = 0x101010;
constexpr Pixel PEN = 0xFF0000;
constexpr Pixel BRUSH = 0x00FF00;
constexpr std::int64_t BIG = std::int64_t{1} << 32;

const PenStyle THIN{false, 1, PEN};
const PenStyle NO_PEN{true, 1, 0};
const BrushStyle FILL{false, BRUSH};
const BrushStyle NO_BRUSH{true, 0};

PenStyle pen_of(int width) { return PenStyle{false, width, PEN}; }

// '.' background, '#' pen, 'o' brush, '?' anything else; one text line per row.
std::string picture(const Bitmap& b) {
    std::string s;
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            Pixel p = b.row(y)[x];
            s += p == BACKGROUND ? '.' : p == PEN ? '#' : p == BRUSH ? 'o' : '?';
        }
        s += '\n';
    }
    return s;
}

void expect_picture(const Bitmap& b, const std::string& expected, const std::string& name) {
    std::string actual = picture(b);
    EXPECT_EQ(actual, expected) << name;
    if (actual != expected) test_support::save_picture(b, "rasterizer_" + name + ".png");
}

// A 64x48 bitmap whose target clips to (8,8)-(56,40), to see that the border stays.
struct ClippedCanvas {
    Bitmap bitmap{64, 48, BACKGROUND};
    PixelTarget target{bitmap.pixels.data(), 64, Rect{8, 8, 56, 40}};
    bool inside(int x, int y) const { return x >= 8 && x < 56 && y >= 8 && y < 40; }
    int border_writes() const {
        int n = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) n += !inside(x, y) && bitmap.row(y)[x] != BACKGROUND;
        return n;
    }
    bool clip_filled_with(Pixel p) const {
        for (int y = 8; y < 40; ++y)
            for (int x = 8; x < 56; ++x)
                if (bitmap.row(y)[x] != p) return false;
        return true;
    }
};

TEST(FillRect, CoversLeftToRightMinusOneAndTopToBottomMinusOne) {
    Bitmap b(6, 4, BACKGROUND);
    platform::fill_rect(whole_target(b), 1, 1, 4, 3, BRUSH);
    expect_picture(b, "......\n.ooo..\n.ooo..\n......\n", "fill_rect");
}

TEST(FillRect, DrawsNothingWhenRightOrBottomIsNotBeyond) {
    Bitmap b(6, 4, BACKGROUND);
    platform::fill_rect(whole_target(b), 4, 1, 1, 3, BRUSH);
    platform::fill_rect(whole_target(b), 1, 3, 4, 3, BRUSH);
    expect_picture(b, "......\n......\n......\n......\n", "fill_rect_empty");
}

TEST(Rectangle, OnePixelPenLiesOnOutermostPixelsOfBox) {
    Bitmap b(7, 5, BACKGROUND);
    platform::draw_rectangle(whole_target(b), 1, 1, 6, 5, THIN, FILL);
    expect_picture(b, ".......\n.#####.\n.#ooo#.\n.#ooo#.\n.#####.\n", "rect_thin");
}

TEST(Rectangle, CoversBothCornersWhenRightAndBottomArePlusOne) {
    Bitmap b(5, 5, BACKGROUND);
    platform::draw_rectangle(whole_target(b), 3, 3, 1, 1, THIN, FILL);  // swapped corners
    EXPECT_EQ(picture(b), ".....\n.##..\n.##..\n.....\n.....\n");
    platform::draw_rectangle(whole_target(b), 2, 2, 2 + 1, 2 + 1, THIN, FILL);
    EXPECT_EQ(b.row(2)[2], PEN);
}

TEST(Rectangle, ErasedCanvasHasBlackRingAndWhiteInside) {
    Bitmap b(601, 540, BACKGROUND);
    platform::draw_rectangle(whole_target(b), 0, 0, 601, 540, PenStyle{false, 1, 0x000000},
                             BrushStyle{false, 0xFFFFFF});
    for (int y = 0; y < 540; ++y)
        for (int x = 0; x < 601; ++x) {
            bool ring = x == 0 || x == 600 || y == 0 || y == 539;
            ASSERT_EQ(b.row(y)[x], ring ? 0x000000u : 0xFFFFFFu) << x << "," << y;
        }
}

TEST(Rectangle, NullPenShrinksFillByOneColumnAndOneRow) {
    Bitmap b(6, 5, BACKGROUND);
    platform::draw_rectangle(whole_target(b), 1, 1, 5, 4, NO_PEN, FILL);
    expect_picture(b, "......\n.ooo..\n.ooo..\n......\n......\n", "rect_null_pen");
}

TEST(Rectangle, EmptyBoxDrawsNothing) {
    Bitmap b(6, 5, BACKGROUND);
    platform::draw_rectangle(whole_target(b), 2, 1, 2, 4, pen_of(3), FILL);
    platform::draw_rectangle(whole_target(b), 1, 3, 5, 3, THIN, FILL);
    platform::draw_rectangle(whole_target(b), 1, 1, 2, 4, NO_PEN, FILL);  // one column, null pen
    expect_picture(b, "......\n......\n......\n......\n......\n", "rect_empty");
}

TEST(Rectangle, WidePenBandIsHalfOutsideAndTheRestInside) {
    Bitmap b(9, 9, BACKGROUND);
    platform::draw_rectangle(whole_target(b), 2, 2, 8, 7, pen_of(3), FILL);
    // w=3: one pixel outside the box (2..7 x 2..6), two inside.
    expect_picture(b,
                   ".........\n.########\n.########\n.########\n.###oo###\n"
                   ".########\n.########\n.########\n.........\n",
                   "rect_wide3");
    Bitmap c(6, 6, BACKGROUND);
    platform::draw_rectangle(whole_target(c), 1, 1, 5, 5, pen_of(2), NO_BRUSH);
    expect_picture(c, "######\n######\n##..##\n##..##\n######\n######\n", "rect_wide2");
}

// The integer disc rule of a (2r+1)-pixel square around (cx, cy).
bool in_disc(std::int64_t cx, std::int64_t cy, std::int64_t r, std::int64_t x, std::int64_t y) {
    Int128 dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= Int128{r} * r + r;
}

// The centre-sampling rule for any box, in products small enough for 128 bits.
bool in_ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t x, std::int64_t y) {
    Int128 w = r - l, h = b - t, u = 2 * x + 1 - (l + r), v = 2 * y + 1 - (t + b);
    return u * u * h * h + v * v * w * w <= w * w * h * h;
}

TEST(Ellipse, RadiusFiveDiscIsElevenSquareWithExactRowSpans) {
    Bitmap b(13, 13, BACKGROUND);
    platform::draw_ellipse(whole_target(b), 1, 1, 12, 12, PenStyle{false, 1, BRUSH}, FILL);
    expect_picture(b,
                   ".............\n"
                   "....ooooo....\n"
                   "...ooooooo...\n"
                   "..ooooooooo..\n"
                   ".ooooooooooo.\n"
                   ".ooooooooooo.\n"
                   ".ooooooooooo.\n"
                   ".ooooooooooo.\n"
                   ".ooooooooooo.\n"
                   "..ooooooooo..\n"
                   "...ooooooo...\n"
                   "....ooooo....\n"
                   ".............\n",
                   "disc5");
}

TEST(Ellipse, OddSquareIsDiscOfRadiusRPlusHalf) {
    for (int r = 0; r <= 24; ++r) {
        Bitmap b(52, 52, BACKGROUND);
        platform::draw_ellipse(whole_target(b), 26 - r, 26 - r, 27 + r, 27 + r, THIN, FILL);
        for (int y = 0; y < 52; ++y)
            for (int x = 0; x < 52; ++x)
                ASSERT_EQ(b.row(y)[x] != BACKGROUND, in_disc(26, 26, r, x, y)) << r << ":" << x << "," << y;
    }
}

TEST(Ellipse, AnyBoxFollowsCentreSamplingRuleAndMirrors) {
    for (int w = 1; w <= 17; ++w)
        for (int h = 1; h <= 17; ++h) {
            Bitmap b(20, 20, BACKGROUND);
            platform::draw_ellipse(whole_target(b), 1, 2, 1 + w, 2 + h, THIN, FILL);
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 20; ++x) {
                    bool set = b.row(y)[x] != BACKGROUND;
                    ASSERT_EQ(set, in_ellipse(1, 2, 1 + w, 2 + h, x, y)) << w << "x" << h << " " << x << "," << y;
                    if (set) {
                        ASSERT_NE(b.row(y)[1 + w - 1 - (x - 1)], BACKGROUND);
                        ASSERT_NE(b.row(2 + h - 1 - (y - 2))[x], BACKGROUND);
                    }
                }
        }
}

TEST(Ellipse, OnePixelPenIsOutermostPixelsOfShape) {
    Bitmap b(30, 20, BACKGROUND);
    platform::draw_ellipse(whole_target(b), 2, 3, 27, 18, THIN, FILL);
    auto inside = [](int x, int y) { return in_ellipse(2, 3, 27, 18, x, y); };
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            Pixel expected = !inside(x, y) ? BACKGROUND : edge ? PEN : BRUSH;
            ASSERT_EQ(b.row(y)[x], expected) << x << "," << y;
        }
}

TEST(Ellipse, NullPenFillsTheBoxShrunkByOneOnRightAndBottom) {
    Bitmap a(16, 12, BACKGROUND), b(16, 12, BACKGROUND);
    platform::draw_ellipse(whole_target(a), 1, 1, 15, 11, NO_PEN, FILL);
    platform::draw_ellipse(whole_target(b), 1, 1, 14, 10, PenStyle{false, 1, BRUSH}, FILL);
    EXPECT_EQ(picture(a), picture(b));
}

TEST(Ellipse, WidePenIsGrownShapeMinusShrunkShape) {
    Bitmap b(30, 30, BACKGROUND);
    platform::draw_ellipse(whole_target(b), 5, 6, 25, 22, pen_of(4), FILL);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            Pixel expected = in_ellipse(7, 8, 23, 20, x, y) ? BRUSH : in_ellipse(3, 4, 27, 24, x, y) ? PEN : BACKGROUND;
            ASSERT_EQ(b.row(y)[x], expected) << x << "," << y;
        }
}

TEST(Ellipse, LargeBoxesKeepTheRuleExactly) {
    struct Case {
        std::int64_t l, t, r, b;
    };
    for (Case c :
         {Case{-99960, -29980, 41, 30020}, Case{-19970, 12, 20031, 4000012}, Case{-85325, -68260, 14676, 11740}}) {
        ClippedCanvas canvas;
        platform::draw_ellipse(canvas.target, c.l, c.t, c.r, c.b, PenStyle{false, 1, BRUSH}, FILL);
        for (int y = 8; y < 40; ++y)
            for (int x = 8; x < 56; ++x)
                ASSERT_EQ(canvas.bitmap.row(y)[x] == BRUSH, in_ellipse(c.l, c.t, c.r, c.b, x, y)) << x << "," << y;
        EXPECT_EQ(canvas.border_writes(), 0);
    }
    // A circle of radius INT_MAX whose edge runs diagonally through the clip.
    const std::int64_t r = INT_MAX, cx = 30 - 1518500249, cy = 24 - 1518500249;
    ClippedCanvas canvas;
    platform::draw_ellipse(canvas.target, cx - r, cy - r, cx + r + 1, cy + r + 1, THIN, FILL);
    int set = 0;
    for (int y = 8; y < 40; ++y)
        for (int x = 8; x < 56; ++x) {
            ASSERT_EQ(canvas.bitmap.row(y)[x] != BACKGROUND, in_disc(cx, cy, r, x, y)) << x << "," << y;
            set += canvas.bitmap.row(y)[x] != BACKGROUND;
        }
    EXPECT_GT(set, 0);
    EXPECT_LT(set, 48 * 32);
}

TEST(Ellipse, ClippedAboveAcrossOrBelowTheMiddleKeepsTheRule) {
    // Boxes sliding through the clip's rows, so the visible rows lie above, across
    // or below the middle, with or without their mirrors; filled, thin and wide pens.
    struct Case {
        std::int64_t w, h, top;
    };
    std::vector<Case> cases;
    for (std::int64_t h : {21, 50, 70})
        for (std::int64_t t = 8 - h - 1; t <= 41; ++t) cases.push_back({h + 19, h, t});
    const std::int64_t tall = 70001;  // beyond the small-box arithmetic
    for (std::int64_t t : {8 - tall / 2 - 5, 24 - tall / 2, 45 - tall / 2, 11 - tall, std::int64_t{37}})
        cases.push_back({60, tall, t});
    for (const Case& c : cases) {
        const std::int64_t l = 4, r = l + c.w, t = c.top, b = t + c.h;
        auto in = [&](std::int64_t x, std::int64_t y) { return in_ellipse(l, t, r, b, x, y); };
        for (const PenStyle& pen : {PenStyle{false, 1, BRUSH}, THIN, pen_of(3)}) {
            ClippedCanvas canvas;
            platform::draw_ellipse(canvas.target, l, t, r, b, pen, FILL);
            for (int y = 8; y < 40; ++y)
                for (int x = 8; x < 56; ++x) {
                    Pixel expected = in(x, y) ? BRUSH : BACKGROUND;
                    if (pen.width == 3)
                        expected = in_ellipse(l + 2, t + 2, r - 2, b - 2, x, y)   ? BRUSH
                                   : in_ellipse(l - 1, t - 1, r + 1, b + 1, x, y) ? PEN
                                                                                  : BACKGROUND;
                    else if (pen.pixel == PEN && in(x, y) &&
                             !(in(x - 1, y) && in(x + 1, y) && in(x, y - 1) && in(x, y + 1)))
                        expected = PEN;
                    ASSERT_EQ(canvas.bitmap.row(y)[x], expected)
                        << c.w << "x" << c.h << " top " << t << ": " << x << "," << y;
                }
            ASSERT_EQ(canvas.border_writes(), 0);
        }
    }
}

TEST(Polygon, FillSamplesPixelCentresWithoutPen) {
    Bitmap b(10, 6, BACKGROUND);
    const Point64 triangle[] = {{1, 1}, {9, 1}, {4, 5}};
    platform::draw_polygon(whole_target(b), triangle, 3, NO_PEN, FILL);
    expect_picture(b, "..........\n.ooooooo..\n..ooooo...\n...ooo....\n....o.....\n..........\n", "triangle_fill");
}

TEST(Polygon, OutlineRunsThroughEveryVertexAndBackToFirst) {
    Bitmap b(8, 6, BACKGROUND);
    const Point64 square[] = {{1, 1}, {6, 1}, {6, 4}, {1, 4}};
    platform::draw_polygon(whole_target(b), square, 4, THIN, NO_BRUSH);
    expect_picture(b, "........\n.######.\n.#....#.\n.#....#.\n.######.\n........\n", "outline");
}

TEST(Polygon, SelfCrossingPolygonFillsByEvenOddRule) {
    Bitmap b(12, 8, BACKGROUND);
    // Two overlapping squares traced as one path; the overlap is crossed twice.
    const Point64 path[] = {{1, 1}, {7, 1}, {7, 7}, {4, 7}, {4, 4}, {10, 4}, {10, 7}, {1, 7}};
    platform::draw_polygon(whole_target(b), path, 8, NO_PEN, FILL);
    EXPECT_EQ(b.row(2)[2], BRUSH);
    EXPECT_EQ(b.row(5)[5], BACKGROUND) << "inside both squares";
    EXPECT_EQ(b.row(5)[8], BRUSH);
}

// The even-odd rule at pixel centres, counted edge by edge.
bool in_polygon(const std::vector<Point64>& points, std::int64_t x, std::int64_t y) {
    bool inside = false;
    for (std::size_t i = 0; i < points.size(); ++i) {
        Point64 a = points[i], b = points[(i + 1) % points.size()];
        if (a.y > b.y) std::swap(a, b);
        if (y < a.y || y >= b.y) continue;
        inside ^= Int128(2 * x + 1 - 2 * a.x) * (b.y - a.y) >= Int128(2 * y + 1 - 2 * a.y) * (b.x - a.x);
    }
    return inside;
}

TEST(Polygon, EdgesCrossingBetweenRowsKeepTheEvenOddRule) {
    // A seven-pointed star drawn in one stroke, a zigzag folding back over itself,
    // and a bow tie wider than the 64-bit crossing arithmetic whose edges swap
    // order between two rows inside the clip.
    const std::vector<std::vector<Point64>> shapes = {
        {{32, 3}, {47, 35}, {12, 15}, {52, 15}, {17, 35}, {32, 3}, {40, 44}, {5, 20}},
        {{9, 9}, {55, 14}, {9, 19}, {55, 24}, {9, 29}, {55, 39}, {30, 2}, {20, 45}},
        {{30 - BIG, 10}, {30 + BIG, 38}, {30 + BIG, 10}, {30 - BIG, 38}},
    };
    for (const auto& shape : shapes) {
        ClippedCanvas canvas;
        platform::draw_polygon(canvas.target, shape.data(), static_cast<int>(shape.size()), NO_PEN, FILL);
        for (int y = 8; y < 40; ++y)
            for (int x = 8; x < 56; ++x)
                ASSERT_EQ(canvas.bitmap.row(y)[x] == BRUSH, in_polygon(shape, x, y))
                    << &shape - shapes.data() << ": " << x << "," << y;
        EXPECT_EQ(canvas.border_writes(), 0);
    }
}

TEST(Polygon, ManyCollinearPointsFillLikeTheirRectangle) {
    std::vector<Point64> points;
    for (int x = 10; x < 50; ++x) points.push_back({x, 10});
    for (int y = 10; y < 30; ++y) points.push_back({50, y});
    for (int x = 50; x > 10; --x) points.push_back({x, 30});
    for (int y = 30; y > 10; --y) points.push_back({10, y});
    ClippedCanvas canvas;
    platform::draw_polygon(canvas.target, points.data(), static_cast<int>(points.size()), NO_PEN, FILL);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            bool in = canvas.inside(x, y) && x >= 10 && x < 50 && y >= 10 && y < 30;
            ASSERT_EQ(canvas.bitmap.row(y)[x], in ? BRUSH : BACKGROUND) << x << "," << y;
        }
}

TEST(Polygon, FewerThanThreePointsFillNothing) {
    Bitmap b(6, 6, BACKGROUND);
    const Point64 two[] = {{1, 1}, {4, 4}};
    platform::draw_polygon(whole_target(b), two, 2, NO_PEN, FILL);
    platform::draw_polygon(whole_target(b), nullptr, 3, THIN, FILL);
    platform::draw_polygon(whole_target(b), two, -1, THIN, FILL);
    EXPECT_EQ(picture(b), "......\n......\n......\n......\n......\n......\n");
}

TEST(Polygon, FarOutsideVerticesFillExactlyTheVisibleHalfPlane) {
    // Edge A-B crosses the clip; C is far to the lower left, so the fill is everything
    // left of A-B. No pixel centre lies on the edge, so the half-plane test decides.
    const Point64 a{-3 * BIG, -2 * BIG + 5}, bb{3 * BIG + 7, 2 * BIG}, c{-3 * BIG, 3 * BIG};
    const Point64 triangle[] = {a, bb, c};
    ClippedCanvas canvas;
    platform::draw_polygon(canvas.target, triangle, 3, NO_PEN, FILL);
    for (int y = 8; y < 40; ++y)
        for (int x = 8; x < 56; ++x) {
            Int128 cross = Int128(bb.x - a.x) * (2 * y + 1 - 2 * a.y) - Int128(bb.y - a.y) * (2 * x + 1 - 2 * a.x);
            ASSERT_NE(cross, 0);
            ASSERT_EQ(canvas.bitmap.row(y)[x] == BRUSH, cross > 0) << x << "," << y;
        }
    EXPECT_EQ(canvas.border_writes(), 0);
}

// Pixels of the documented line rule, computed step by step.
std::vector<std::pair<std::int64_t, std::int64_t>> rule_pixels(std::int64_t x0, std::int64_t y0, std::int64_t x1,
                                                               std::int64_t y1) {
    bool x_major = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
    std::int64_t du = x_major ? x1 - x0 : y1 - y0, dv = x_major ? y1 - y0 : x1 - x0;
    std::int64_t su = du < 0 ? -1 : 1, sv = dv < 0 ? -1 : 1;
    std::vector<std::pair<std::int64_t, std::int64_t>> out;
    for (std::int64_t i = 0; i < std::llabs(du); ++i) {
        std::int64_t m =
            static_cast<std::int64_t>((Int128{2} * i * std::llabs(dv) + std::llabs(du)) / (Int128{2} * std::llabs(du)));
        out.push_back(x_major ? std::pair{x0 + su * i, y0 + sv * m} : std::pair{x0 + sv * m, y0 + su * i});
    }
    return out;
}

TEST(Line, SetsStartButNotEndPixel) {
    Bitmap b(10, 3, BACKGROUND);
    platform::draw_line(whole_target(b), 2, 0, 7, 0, THIN);
    platform::draw_line(whole_target(b), 7, 2, 2, 2, THIN);
    expect_picture(b, "..#####...\n..........\n...#####..\n", "line_horizontal");
    Bitmap v(3, 6, BACKGROUND);
    platform::draw_line(whole_target(v), 0, 1, 0, 4, THIN);
    platform::draw_line(whole_target(v), 2, 4, 2, 1, THIN);
    expect_picture(v, "...\n#..\n#.#\n#.#\n..#\n...\n", "line_vertical");
}

TEST(Line, EveryOctantFollowsTheStepRuleAndExcludesTheEnd) {
    const int ends[][2] = {{9, 0},  {9, 4},  {9, 9},   {4, 9},   {0, 9},   {-4, 9}, {-9, 9},
                           {-9, 4}, {-9, 0}, {-9, -4}, {-9, -9}, {-4, -9}, {0, -9}, {4, -9},
                           {9, -9}, {9, -4}, {7, 2},   {-2, 7},  {8, -3},  {1, 1},  {-1, 0}};
    for (auto& e : ends) {
        Bitmap b(21, 21, BACKGROUND);
        platform::draw_line(whole_target(b), 10, 10, 10 + e[0], 10 + e[1], THIN);
        Bitmap expected(21, 21, BACKGROUND);
        for (auto [x, y] : rule_pixels(10, 10, 10 + e[0], 10 + e[1])) expected.row(y)[x] = PEN;
        ASSERT_EQ(picture(b), picture(expected)) << e[0] << "," << e[1];
        EXPECT_EQ(b.row(10)[10], PEN);
        EXPECT_EQ(b.row(10 + e[1])[10 + e[0]], BACKGROUND);
    }
    Bitmap shallow(5, 2, BACKGROUND);
    platform::draw_line(whole_target(shallow), 0, 0, 4, 1, THIN);
    expect_picture(shallow, "##...\n..##.\n", "line_half_steps_away_from_start");
}

TEST(Line, ZeroLengthDrawsNothing) {
    Bitmap b(3, 3, BACKGROUND);
    platform::draw_line(whole_target(b), 1, 1, 1, 1, pen_of(3));
    EXPECT_EQ(picture(b), "...\n...\n...\n");
}

TEST(Line, WidePenRunsAcrossTheMajorAxisFromHalfBefore) {
    Bitmap b(8, 6, BACKGROUND);
    platform::draw_line(whole_target(b), 1, 1, 6, 1, pen_of(2));  // rows 0 and 1
    platform::draw_line(whole_target(b), 1, 4, 6, 4, pen_of(3));  // rows 3 to 5
    expect_picture(b, ".#####..\n.#####..\n........\n.#####..\n.#####..\n.#####..\n", "line_wide_h");
    Bitmap v(6, 4, BACKGROUND);
    platform::draw_line(whole_target(v), 3, 0, 3, 3, pen_of(2));  // columns 2 and 3
    expect_picture(v, "..##..\n..##..\n..##..\n......\n", "line_wide_v");
    Bitmap d(8, 6, BACKGROUND);
    platform::draw_line(whole_target(d), 1, 1, 7, 3, pen_of(3));
    expect_picture(d, ".##.....\n.#####..\n.######.\n...####.\n......#.\n........\n", "line_wide_d");
}

TEST(Line, ClippedLineSetsTheSamePixelsAsUnclipped) {
    const std::int64_t lines[][4] = {{-5, 3, 70, 44}, {60, -2, 1, 47}, {30, -20, 33, 70}, {-9, 40, 70, 9}};
    for (auto& l : lines) {
        ClippedCanvas canvas;
        Bitmap whole(64, 48, BACKGROUND);
        platform::draw_line(canvas.target, l[0], l[1], l[2], l[3], THIN);
        platform::draw_line(whole_target(whole), l[0], l[1], l[2], l[3], THIN);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(canvas.bitmap.row(y)[x], canvas.inside(x, y) ? whole.row(y)[x] : BACKGROUND);
    }
    // Billions of pixels long; only the visible ones are walked, and they match the rule.
    ClippedCanvas canvas;
    const std::int64_t x0 = -BIG, y0 = -BIG / 2 - 7, x1 = BIG + 3, y1 = BIG / 2 + 11;
    platform::draw_line(canvas.target, x0, y0, x1, y1, THIN);
    Bitmap expected(64, 48, BACKGROUND);
    for (std::int64_t x = 0; x < 64; ++x) {
        std::int64_t i = x - x0;
        std::int64_t m = static_cast<std::int64_t>((Int128{2} * i * (y1 - y0) + (x1 - x0)) / (Int128{2} * (x1 - x0)));
        std::int64_t y = y0 + m;
        if (canvas.inside(static_cast<int>(x), static_cast<int>(y))) expected.row(static_cast<int>(y))[x] = PEN;
    }
    EXPECT_EQ(picture(canvas.bitmap), picture(expected));
}

TEST(Line, SpanObserverSeesEveryPixelWrittenOnce) {
    // Each observed span is marked on a second canvas; steep, shallow and clipped
    // one-pixel lines must leave the same pixels on both, each seen once.
    struct Marks {
        const Pixel* base;
        std::vector<int> seen;
    };
    struct ObserverOff {
        ~ObserverOff() { platform::set_span_observer(nullptr, nullptr); }
    } off;
    ClippedCanvas canvas;
    Marks marks{canvas.bitmap.pixels.data(), std::vector<int>(64 * 48, 0)};
    platform::set_span_observer(
        [](void* context, const Pixel* start, std::int64_t count, Pixel) {
            auto* m = static_cast<Marks*>(context);
            for (std::int64_t i = 0; i < count; ++i) ++m->seen[static_cast<std::size_t>(start - m->base + i)];
        },
        &marks);
    const std::int64_t lines[][4] = {{-5, 3, 70, 44}, {60, -2, 1, 47}, {30, 45, 20, 2}, {9, 9, 54, 12}};
    for (auto& l : lines) {
        std::fill(marks.seen.begin(), marks.seen.end(), 0);
        std::fill(canvas.bitmap.pixels.begin(), canvas.bitmap.pixels.end(), BACKGROUND);
        platform::draw_line(canvas.target, l[0], l[1], l[2], l[3], THIN);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(marks.seen[static_cast<std::size_t>(y * 64 + x)], canvas.bitmap.row(y)[x] == PEN ? 1 : 0)
                    << l[0] << "," << l[1] << " " << x << "," << y;
    }
}

TEST(Extremes, HugeInputsWriteOnlyInsideTheClip) {
    const std::int64_t values[] = {
        INT_MIN, INT_MAX, 300 + std::int64_t{INT_MAX}, 300 - std::int64_t{INT_MIN}, -BIG, BIG, 20, 30};
    const int widths[] = {INT_MIN, 0, 1, 2, 7, INT_MAX};
    for (std::int64_t a : values)
        for (std::int64_t b : values)
            for (int w : widths) {
                ClippedCanvas c;
                const PenStyle pen = pen_of(w);
                platform::fill_rect(c.target, a, b, -a, 30, BRUSH);
                platform::set_pixel(c.target, a, b, PEN);
                platform::draw_rectangle(c.target, a, b, 30, -a, pen, FILL);
                platform::draw_ellipse(c.target, a, b, -b, 300 - a, pen, FILL);
                platform::draw_ellipse(c.target, 30 - a, 20 - a, 31 + a, 21 + a, pen, NO_BRUSH);
                platform::draw_line(c.target, a, b, 30, 20, pen);
                platform::draw_line(c.target, 30 - b, a, b, -a, pen);
                const Point64 triangle[] = {{a, b}, {-b, a}, {30, 20}};
                platform::draw_polygon(c.target, triangle, 3, pen, FILL);
                ASSERT_EQ(c.border_writes(), 0) << a << " " << b << " width " << w;
            }
}

TEST(Extremes, SixtyFourBitLimitsAreSafe) {
    const std::int64_t values[] = {INT64_MIN, INT64_MAX, 0, 30};
    for (std::int64_t a : values)
        for (std::int64_t b : values) {
            ClippedCanvas c;
            platform::fill_rect(c.target, a, b, b, a, BRUSH);
            platform::set_pixel(c.target, a, b, PEN);
            platform::draw_rectangle(c.target, a, b, b, a, pen_of(INT_MAX), FILL);
            platform::draw_ellipse(c.target, a, a, b, b, THIN, FILL);
            platform::draw_line(c.target, a, b, b, a, pen_of(3));
            const Point64 triangle[] = {{a, b}, {b, a}, {30, 20}};
            platform::draw_polygon(c.target, triangle, 3, THIN, FILL);
            ASSERT_EQ(c.border_writes(), 0) << a << " " << b;
        }
}

TEST(SetPixel, SetsOnlyInsideTheClip) {
    ClippedCanvas c;
    platform::set_pixel(c.target, 8, 8, PEN);
    platform::set_pixel(c.target, 55, 39, PEN);
    platform::set_pixel(c.target, 7, 20, PEN);
    platform::set_pixel(c.target, 56, 20, PEN);
    platform::set_pixel(c.target, 20, 40, PEN);
    EXPECT_EQ(c.bitmap.row(8)[8], PEN);
    EXPECT_EQ(c.bitmap.row(39)[55], PEN);
    EXPECT_EQ(c.border_writes(), 0);
}

TEST(Extremes, HugeShapesCoverTheWholeClip) {
    const std::int64_t r = INT_MAX;
    ClippedCanvas disc;
    platform::draw_ellipse(disc.target, 300 - r, 270 - r, 300 + r + 1, 270 + r + 1, THIN, FILL);
    EXPECT_TRUE(disc.clip_filled_with(BRUSH));
    ClippedCanvas wide_line;
    platform::draw_line(wide_line.target, -BIG, 20, BIG, 21, pen_of(INT_MAX));
    EXPECT_TRUE(wide_line.clip_filled_with(PEN));
    ClippedCanvas peak;
    const Point64 triangle[] = {{-BIG, 300 + r}, {BIG, 300 + r}, {0, 300 - std::int64_t{INT_MIN} - 2 * BIG}};
    platform::draw_polygon(peak.target, triangle, 3, THIN, FILL);
    EXPECT_TRUE(peak.clip_filled_with(BRUSH));
    for (auto* c : {&disc, &wide_line, &peak}) EXPECT_EQ(c->border_writes(), 0);
}

}  // namespace
