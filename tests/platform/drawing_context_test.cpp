// Tests of drawing contexts: defaults, selected objects, copying, scrolling and
// stale handles.
#include "platform/drawing/drawing_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/backends/headless_backend.h"
#include "platform/core/message_queue.h"
#include "platform/core/window.h"
#include "platform/ui/default_procedure.h"
#include "platform/ui/menu.h"
#include "platform/ui/platform_reset.h"
#include "support/test_support.h"

namespace platform {
namespace {

constexpr ColorWord BLACK = color_word(0, 0, 0);
constexpr ColorWord WHITE = color_word(255, 255, 255);
constexpr ColorWord RED = color_word(255, 0, 0);
constexpr ColorWord BLUE = color_word(0, 0, 255);
constexpr ColorWord MARKER = color_word(1, 2, 3);

std::intptr_t plain_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    return default_window_proc(window, message, word, position);
}

void start() {
    reset_platform();
    install_headless_backend();
    WindowClass window_class;
    window_class.name = "plain";
    window_class.procedure = plain_proc;
    register_class(window_class);
}

// A shown frameless window, 100 x 80 outside; with a menu bar its client area is 100 x 60.
Window make_window(bool with_bar) {
    Window window = create_window("plain", "d", STYLE_POPUP | STYLE_VISIBLE, 0, 0, 100, 80, Window::NONE, nullptr);
    if (with_bar) set_menu(window, create_menu());
    return window;
}

struct Canvas {
    DrawingContext context = DrawingContext::NONE;
    DrawingObject bitmap = DrawingObject::NONE;
    Bitmap& pixels() const { return *bitmap_of(bitmap); }
};

// A memory context holding a compatible bitmap filled with one colour.
Canvas make_canvas(int width, int height, ColorWord fill = MARKER) {
    Canvas canvas;
    canvas.context = create_compatible_dc(DrawingContext::NONE);
    canvas.bitmap = create_compatible_bitmap(canvas.context, width, height);
    select_object(canvas.context, canvas.bitmap);
    std::fill(canvas.pixels().pixels.begin(), canvas.pixels().pixels.end(), pixel_from_color(fill));
    return canvas;
}

void select_fill(DrawingContext context, ColorWord color) {
    select_object(context, stock_object(StockObject::NULL_PEN));
    select_object(context, create_solid_brush(color));
}

bool rows_equal(const Bitmap& a, const Bitmap& b, int first, int last) {
    for (int y = first; y < last; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.get(x, y) != b.get(x, y)) return false;
    return true;
}

TEST(ContextDefaults, BlackOnePixelPenWhiteBrushBlackTextOnWhiteOpaque) {
    start();
    Canvas canvas = make_canvas(8, 8);
    EXPECT_EQ(get_text_color(canvas.context), BLACK);
    EXPECT_EQ(get_background_color(canvas.context), WHITE);
    EXPECT_EQ(get_background_mode(canvas.context), OPAQUE_MODE);
    ASSERT_TRUE(rectangle(canvas.context, 0, 0, 6, 6));
    const Bitmap& pixels = canvas.pixels();
    EXPECT_EQ(pixels.get(0, 0), BLACK);
    EXPECT_EQ(pixels.get(5, 5), BLACK);
    EXPECT_EQ(pixels.get(5, 2), BLACK);
    EXPECT_EQ(pixels.get(1, 1), WHITE);
    EXPECT_EQ(pixels.get(4, 4), WHITE);
    EXPECT_EQ(pixels.get(6, 6), MARKER);
    DrawingContext window_context = get_window_dc(make_window(false));
    EXPECT_EQ(get_text_color(window_context), BLACK);
    EXPECT_EQ(get_background_mode(window_context), OPAQUE_MODE);
}

TEST(ContextDefaults, SettersReturnThePreviousValue) {
    start();
    Canvas canvas = make_canvas(2, 2);
    EXPECT_EQ(set_text_color(canvas.context, RED), BLACK);
    EXPECT_EQ(set_text_color(canvas.context, BLUE), RED);
    EXPECT_EQ(set_background_color(canvas.context, BLUE), WHITE);
    EXPECT_EQ(set_background_mode(canvas.context, TRANSPARENT_MODE), OPAQUE_MODE);
    EXPECT_EQ(set_background_mode(canvas.context, 7), 0);
    EXPECT_EQ(get_background_mode(canvas.context), TRANSPARENT_MODE);
}

TEST(SelectObject, ReturnsTheObjectOfTheSameKindItReplaces) {
    start();
    Canvas canvas = make_canvas(4, 4);
    DrawingObject pen = create_pen(2, RED);
    DrawingObject brush = create_solid_brush(RED);
    DrawingObject font = create_font(fixed_font_request());
    EXPECT_EQ(select_object(canvas.context, pen), stock_object(StockObject::BLACK_PEN));
    EXPECT_EQ(select_object(canvas.context, brush), stock_object(StockObject::WHITE_BRUSH));
    EXPECT_EQ(select_object(canvas.context, font), stock_object(StockObject::SYSTEM_FONT));
    EXPECT_EQ(select_object(canvas.context, stock_object(StockObject::NULL_PEN)), pen);
    EXPECT_EQ(select_object(canvas.context, stock_object(StockObject::NULL_PEN)), stock_object(StockObject::NULL_PEN));
    DrawingContext fresh = create_compatible_dc(canvas.context);
    DrawingObject other = create_compatible_bitmap(fresh, 3, 3);
    EXPECT_NE(select_object(fresh, other), DrawingObject::NONE);
    EXPECT_EQ(select_object(fresh, canvas.bitmap), DrawingObject::NONE);
    EXPECT_EQ(select_object(DrawingContext::NONE, pen), DrawingObject::NONE);
    EXPECT_EQ(select_object(canvas.context, DrawingObject::NONE), DrawingObject::NONE);
}

TEST(SelectObject, ABitmapGoesIntoMemoryContextsOnly) {
    start();
    DrawingObject bitmap = create_compatible_bitmap(DrawingContext::NONE, 4, 4);
    DrawingContext window_context = get_window_dc(make_window(false));
    EXPECT_EQ(select_object(window_context, bitmap), DrawingObject::NONE);
    EXPECT_EQ(create_compatible_bitmap(window_context, -1, 4), DrawingObject::NONE);
    EXPECT_EQ(create_compatible_bitmap(window_context, 1 << 20, 1 << 20), DrawingObject::NONE);
}

TEST(DeleteObject, FailsWithoutHarmWhileSelected) {
    start();
    Canvas canvas = make_canvas(4, 4);
    DrawingObject pen = create_pen(1, RED);
    DrawingObject old_pen = select_object(canvas.context, pen);
    EXPECT_FALSE(delete_object(pen));
    EXPECT_FALSE(delete_object(canvas.bitmap));
    ASSERT_TRUE(move_to(canvas.context, 0, 1));
    ASSERT_TRUE(line_to(canvas.context, 3, 1));
    EXPECT_EQ(canvas.pixels().get(2, 1), RED);
    select_object(canvas.context, old_pen);
    EXPECT_TRUE(delete_object(pen));
    EXPECT_FALSE(delete_object(pen));
    ASSERT_TRUE(delete_dc(canvas.context));
    EXPECT_TRUE(delete_object(canvas.bitmap));
    EXPECT_EQ(bitmap_of(canvas.bitmap), nullptr);
}

TEST(DeleteObject, StockObjectsStay) {
    start();
    for (StockObject which : {StockObject::WHITE_BRUSH, StockObject::NULL_BRUSH, StockObject::NULL_PEN,
                              StockObject::BLACK_PEN, StockObject::FIXED_FONT, StockObject::SYSTEM_FONT}) {
        EXPECT_FALSE(delete_object(stock_object(which)));
        EXPECT_NE(stock_object(which), DrawingObject::NONE);
    }
}

TEST(ScopedSelection, PutsBackWhatItReplacedAndDeletesOnlyWhatItOwns) {
    start();
    Canvas canvas = make_canvas(4, 4);
    DrawingObject owned = create_pen(1, RED);
    DrawingObject kept = create_solid_brush(BLUE);
    {
        ScopedSelection selection(canvas.context);
        selection.select_owned(owned);
        selection.select(kept);
        ASSERT_TRUE(rectangle(canvas.context, 0, 0, 4, 4));
    }
    EXPECT_EQ(canvas.pixels().get(0, 0), RED);
    EXPECT_EQ(canvas.pixels().get(1, 1), BLUE);
    EXPECT_EQ(select_object(canvas.context, stock_object(StockObject::NULL_PEN)), stock_object(StockObject::BLACK_PEN));
    EXPECT_EQ(select_object(canvas.context, stock_object(StockObject::NULL_BRUSH)),
              stock_object(StockObject::WHITE_BRUSH));
    EXPECT_EQ(select_object(canvas.context, owned), DrawingObject::NONE);
    EXPECT_TRUE(delete_object(kept));
}

TEST(StaleHandles, AReusedSlotNeverAliases) {
    start();
    Canvas canvas = make_canvas(4, 4);
    DrawingObject dead = create_pen(1, RED);
    ASSERT_TRUE(delete_object(dead));
    DrawingObject live = create_pen(1, BLUE);
    ASSERT_NE(live, dead);
    EXPECT_EQ(select_object(canvas.context, dead), DrawingObject::NONE);
    EXPECT_FALSE(delete_object(dead));
    EXPECT_NE(select_object(canvas.context, live), DrawingObject::NONE);
    move_to(canvas.context, 0, 0);
    line_to(canvas.context, 2, 0);
    EXPECT_EQ(canvas.pixels().get(0, 0), BLUE);

    DrawingContext gone = create_compatible_dc(DrawingContext::NONE);
    ASSERT_TRUE(delete_dc(gone));
    DrawingContext fresh = create_compatible_dc(DrawingContext::NONE);
    ASSERT_NE(fresh, gone);
    EXPECT_FALSE(delete_dc(gone));
    EXPECT_EQ(set_text_color(gone, RED), INVALID_COLOR);
    EXPECT_EQ(get_text_color(fresh), BLACK);
    EXPECT_FALSE(rectangle(gone, 0, 0, 2, 2));
    EXPECT_FALSE(rectangle(static_cast<DrawingContext>(0xDEADBEEF12345678ull), 0, 0, 2, 2));
    EXPECT_EQ(bitmap_of(static_cast<DrawingObject>(~0ull)), nullptr);
}

TEST(WindowContext, DrawsIntoTheClientAreaBelowTheBarClippedToIt) {
    start();
    Window window = make_window(true);
    Message paint;
    while (peek_message(paint) && paint.message == MSG_PAINT) dispatch_message(paint);
    Bitmap before = *window_surface(window);
    DrawingContext context = get_window_dc(window);
    select_fill(context, RED);
    ASSERT_TRUE(rectangle(context, -1000, -1000, 1000, 1000));
    ASSERT_TRUE(set_pixel(context, 0, 0, BLUE));
    const Bitmap& surface = *window_surface(window);
    EXPECT_TRUE(rows_equal(surface, before, 0, MENU_BAR_HEIGHT));
    EXPECT_EQ(surface.get(0, MENU_BAR_HEIGHT), BLUE);
    EXPECT_EQ(surface.get(99, 79), RED);
    EXPECT_EQ(get_pixel(context, 0, 0), BLUE);
    EXPECT_EQ(get_pixel(context, 0, -1), INVALID_COLOR);
    EXPECT_EQ(get_pixel(context, 100, 0), INVALID_COLOR);
    if (HasFailure()) test_support::save_picture(surface, "window_context_clip.png");
    EXPECT_TRUE(release_dc(window, context));
    EXPECT_FALSE(release_dc(window, context));
}

TEST(WindowContext, AChildDrawsInsideItselfOnly) {
    start();
    Window window = make_window(true);
    Window child = create_window("plain", "", STYLE_CHILD | STYLE_VISIBLE, 90, 10, 30, 20, window, nullptr);
    DrawingContext context = get_window_dc(child);
    select_fill(context, RED);
    constexpr std::int64_t BIG = std::numeric_limits<std::int64_t>::max();
    ASSERT_TRUE(rectangle(context, -BIG, -BIG, BIG, BIG));
    Bitmap picture = client_picture(window);
    EXPECT_EQ(picture.get(90, 10), RED);
    EXPECT_EQ(picture.get(99, 29), RED);
    EXPECT_EQ(picture.get(89, 10), WHITE);
    EXPECT_EQ(picture.get(90, 30), WHITE);
    EXPECT_EQ(picture.get(90, 9), WHITE);
    const std::int64_t far[] = {-BIG, -BIG, BIG, 0, 0, BIG, std::numeric_limits<std::int64_t>::min(), 5};
    EXPECT_TRUE(polygon(context, far, 4));
    EXPECT_TRUE(ellipse(context, -BIG, -BIG, BIG, BIG));
    EXPECT_TRUE(move_to(context, -BIG, 3));
    EXPECT_TRUE(line_to(context, BIG, 3));
    EXPECT_TRUE(set_pixel(context, BIG, -BIG, BLUE));
    EXPECT_TRUE(text_out(context, BIG, BIG, "x", 1));
    EXPECT_EQ(client_picture(window).get(89, 13), WHITE);
}

TEST(WindowContext, FailsWithoutHarmOnceTheWindowIsGone) {
    start();
    Window window = make_window(false);
    DrawingContext context = get_window_dc(window);
    destroy_window(window);
    EXPECT_FALSE(rectangle(context, 0, 0, 5, 5));
    EXPECT_FALSE(text_out(context, 0, 0, "a", 1));
    EXPECT_FALSE(scroll_dc(context, 0, 1));
    EXPECT_EQ(get_pixel(context, 0, 0), INVALID_COLOR);
    Canvas canvas = make_canvas(4, 4);
    EXPECT_FALSE(bit_blt(canvas.context, 0, 0, 4, 4, context, 0, 0));
    EXPECT_TRUE(release_dc(window, context));
    EXPECT_EQ(get_window_dc(window), DrawingContext::NONE);
}

TEST(LineTo, DrawsFromTheCurrentPositionAndMovesIt) {
    start();
    Canvas canvas = make_canvas(6, 3);
    move_to(canvas.context, 1, 1);
    line_to(canvas.context, 4, 1);
    select_object(canvas.context, stock_object(StockObject::NULL_PEN));
    line_to(canvas.context, 4, 2);
    select_object(canvas.context, stock_object(StockObject::BLACK_PEN));
    line_to(canvas.context, 1, 2);
    const Bitmap& pixels = canvas.pixels();
    EXPECT_EQ(pixels.get(0, 1), MARKER);
    EXPECT_EQ(pixels.get(1, 1), BLACK);
    EXPECT_EQ(pixels.get(3, 1), BLACK);
    EXPECT_EQ(pixels.get(4, 1), MARKER);
    EXPECT_EQ(pixels.get(4, 2), BLACK);
    EXPECT_EQ(pixels.get(2, 2), BLACK);
    EXPECT_EQ(pixels.get(1, 2), MARKER);
}

TEST(NullPen, RectangleFillShrinksByOneOnTheRightAndBottom) {
    start();
    Canvas canvas = make_canvas(8, 8);
    select_fill(canvas.context, RED);
    ASSERT_TRUE(rectangle(canvas.context, 2, 2, 6, 6));
    const Bitmap& pixels = canvas.pixels();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 2 && x <= 4 && y >= 2 && y <= 4;
            ASSERT_EQ(pixels.get(x, y), inside ? RED : MARKER) << x << "," << y;
        }
}

TEST(BitBlt, CopiesExactlyTheOverlapForAnyOffsets) {
    start();
    constexpr int N = 10;
    Canvas source = make_canvas(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) source.pixels().row(y)[x] = static_cast<Pixel>(1 + x + 16 * y);
    const int cases[][6] = {{0, 0, N, N, 0, 0},
                            {3, -2, N, N, -4, 5},
                            {-5, -5, 4, 4, 0, 0},
                            {8, 8, 100, 100, 0, 0},
                            {0, 0, 5, 5, 8, 8},
                            {2, 2, -3, 4, 0, 0},
                            {INT_MAX, 0, INT_MAX, N, 0, 0},
                            {INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN},
                            {-3, 1, INT_MAX, INT_MAX, INT_MIN + 5, 0},
                            {0, 0, INT_MAX, INT_MAX, INT_MIN, INT_MIN},
                            {1, 1, INT_MAX, INT_MAX, 2, -1}};
    for (const auto& c : cases) {
        Canvas target = make_canvas(N, N);
        ASSERT_TRUE(bit_blt(target.context, c[0], c[1], c[2], c[3], source.context, c[4], c[5]));
        for (std::int64_t ty = 0; ty < N; ++ty)
            for (std::int64_t tx = 0; tx < N; ++tx) {
                std::int64_t sx = c[4] + (tx - c[0]);
                std::int64_t sy = c[5] + (ty - c[1]);
                bool covered = tx >= c[0] && tx < std::int64_t{c[0]} + c[2] && ty >= c[1] &&
                               ty < std::int64_t{c[1]} + c[3] && sx >= 0 && sx < N && sy >= 0 && sy < N;
                Pixel expected = covered ? source.pixels().row(static_cast<int>(sy))[sx] : pixel_from_color(MARKER);
                ASSERT_EQ(target.pixels().row(static_cast<int>(ty))[tx], expected)
                    << "case " << c[0] << "," << c[1] << "," << c[2] << "," << c[3] << "," << c[4] << "," << c[5]
                    << " at " << tx << "," << ty;
            }
    }
}

TEST(BitBlt, OverlappingCopyWithinOneWindowIsExact) {
    start();
    Window window = make_window(true);
    DrawingContext context = get_window_dc(window);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) set_pixel(context, x, y, color_word(x, y, 7));
    for (int shift : {3, -3}) {
        Bitmap before = client_picture(window);
        ASSERT_TRUE(bit_blt(context, shift, shift, 100, 60, context, 0, 0));
        Bitmap after = client_picture(window);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 100; ++x) {
                int sx = x - shift;
                int sy = y - shift;
                bool inside = sx >= 0 && sx < 100 && sy >= 0 && sy < 60;
                ASSERT_EQ(after.get(x, y), inside ? before.get(sx, sy) : before.get(x, y)) << x << "," << y;
            }
    }
}

TEST(ScrollDc, MovesTheContentsAndTheUncoveredBandKeepsItsOldPixels) {
    start();
    Canvas canvas = make_canvas(4, 8);
    Bitmap& pixels = canvas.pixels();
    for (int y = 0; y < 8; ++y) std::fill_n(pixels.row(y), 4, static_cast<Pixel>(100 + y));
    ASSERT_TRUE(scroll_dc(canvas.context, 0, -3));
    for (int y = 0; y < 8; ++y) EXPECT_EQ(pixels.row(y)[1], static_cast<Pixel>(100 + (y < 5 ? y + 3 : y))) << y;
    Bitmap before = pixels;
    ASSERT_TRUE(scroll_dc(canvas.context, 0, 2));
    for (int y = 0; y < 8; ++y) EXPECT_EQ(pixels.row(y)[2], before.row(y < 2 ? y : y - 2)[2]) << y;
    before = pixels;
    for (int huge : {INT_MAX, INT_MIN, 8, -8}) {
        ASSERT_TRUE(scroll_dc(canvas.context, 0, huge));
        ASSERT_TRUE(scroll_dc(canvas.context, huge, 0));
    }
    EXPECT_EQ(pixels.pixels, before.pixels);
}

TEST(ScrollDc, OnAWindowMovesOnlyItsClientArea) {
    start();
    Window window = make_window(true);
    DrawingContext context = get_window_dc(window);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) set_pixel(context, x, y, color_word(0, y, 0));
    Bitmap before = *window_surface(window);
    ASSERT_TRUE(scroll_dc(context, 0, -10));
    const Bitmap& surface = *window_surface(window);
    EXPECT_TRUE(rows_equal(surface, before, 0, MENU_BAR_HEIGHT));
    Bitmap picture = client_picture(window);
    EXPECT_EQ(picture.get(5, 0), color_word(0, 10, 0));
    EXPECT_EQ(picture.get(5, 49), color_word(0, 59, 0));
    EXPECT_EQ(picture.get(5, 55), color_word(0, 55, 0));
}

TEST(TextOut, OpaqueFillsTheCellAndTransparentPaintsOnlyTheGlyphs) {
    start();
    Canvas opaque = make_canvas(60, 40, WHITE);
    Canvas transparent = make_canvas(60, 40, WHITE);
    Size extent;
    ASSERT_TRUE(text_extent(opaque.context, "H", 1, extent));
    ASSERT_GT(extent.width, 0);
    TextMetrics metrics;
    ASSERT_TRUE(get_text_metrics(opaque.context, metrics));
    EXPECT_EQ(extent.height, metrics.height);
    for (DrawingContext context : {opaque.context, transparent.context}) set_background_color(context, RED);
    set_background_mode(transparent.context, TRANSPARENT_MODE);
    ASSERT_TRUE(text_out(opaque.context, 3, 2, "H", 1));
    ASSERT_TRUE(text_out(transparent.context, 3, 2, "H", 1));
    int ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            bool in_cell = x >= 3 && x < 3 + extent.width && y >= 2 && y < 2 + extent.height;
            ColorWord o = opaque.pixels().get(x, y);
            ColorWord t = transparent.pixels().get(x, y);
            if (t == BLACK) ++ink;
            ASSERT_TRUE(t == BLACK || t == WHITE) << x << "," << y;
            ASSERT_EQ(o, t == BLACK ? BLACK : (in_cell ? RED : WHITE)) << x << "," << y;
        }
    EXPECT_GT(ink, 10);
    if (HasFailure()) {
        test_support::save_picture(opaque.pixels(), "text_out_opaque.png");
        test_support::save_picture(transparent.pixels(), "text_out_transparent.png");
    }
    EXPECT_FALSE(text_out(opaque.context, 0, 0, nullptr, 1));
    EXPECT_FALSE(text_out(opaque.context, 0, 0, "H", -1));
}

TEST(TextOut, TheSelectedFontDecidesTheMeasure) {
    start();
    Canvas canvas = make_canvas(4, 4);
    Size proportional;
    Size fixed_i;
    Size fixed_w;
    text_extent(canvas.context, "iiii", 4, proportional);
    select_object(canvas.context, stock_object(StockObject::FIXED_FONT));
    text_extent(canvas.context, "iiii", 4, fixed_i);
    text_extent(canvas.context, "WWWW", 4, fixed_w);
    EXPECT_EQ(fixed_i.width, fixed_w.width);
    EXPECT_NE(fixed_i.width, proportional.width);
}

}  // namespace
}  // namespace platform
