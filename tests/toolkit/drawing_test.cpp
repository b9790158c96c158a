// Tests of the drawing calls: each one's pixels, the corrections of bad
// arguments, text and extremes.
#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/drawing/drawing_context.h"
#include "platform/drawing/font.h"
#include "support/toolkit_fixture.h"
#include "toolkit/kavro.h"
#include "toolkit/state.h"

using kavro::state;
using Strings = std::vector<std::string>;

namespace {

platform::ColorWord color(int index) { return kavro::COLOR_TABLE[index].value; }

using test_support::Ink;
using test_support::ink_of;

class DrawingTest : public test_support::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        open_toolkit();
        KAVRO_logging(0);
        KAVRO_clear();
        KAVRO_logging(1);
        cx = state.centre_x;
        cy = state.centre_y;
    }
    Ink ink(int index) const { return ink_of(canvas(), color(index)); }
    // Canvas box from application corners (left, top) to (right, bottom).
    Ink box(int left, int top, int right, int bottom, int count) const {
        return Ink{cx + left, cy - top, cx + right, cy - bottom, count};
    }
    bool fills_canvas(int index) const { return ink(index).count == kavro::CANVAS_WIDTH * kavro::CANVAS_HEIGHT; }

    int cx = 0;
    int cy = 0;
};

platform::FontRequest text_font(int height) {
    platform::FontRequest request;
    request.height = height;
    request.weight = 400;
    std::strcpy(request.face, "KAVRO-font");
    return request;
}

}  // namespace

using Rectangle = DrawingTest;

TEST_F(Rectangle, SwappedCornersFillTheInclusive21By21Square) {
    EXPECT_EQ(KAVRO_rectangle(KAVRO_BLUE, 10, -10, -10, 10, 0), 1);
    EXPECT_EQ(messages(), Strings{"blue rectangle with bounding box (-10,10) to (10,-10), filled\n"});
    EXPECT_EQ(ink(KAVRO_BLUE), box(-10, 10, 10, -10, 21 * 21));
}

TEST_F(Rectangle, AnOutlineLeavesTheInsideUntouched) {
    KAVRO_rectangle(KAVRO_NAVY_BLUE, -10, 10, 10, -10, 1);
    EXPECT_EQ(messages(), Strings{"navy blue rectangle with bounding box (-10,10) to (10,-10) with line width 1\n"});
    EXPECT_EQ(ink(KAVRO_NAVY_BLUE), box(-10, 10, 10, -10, 4 * 20));
}

using Oval = DrawingTest;

TEST_F(Oval, IsInscribedInTheInclusiveBoxOfTheSwappedCorners) {
    KAVRO_oval(KAVRO_CYAN, 20, -10, -20, 10, 0);
    KAVRO_oval(KAVRO_ORANGE, -5, 100, 5, 90, 2);
    EXPECT_EQ(messages(), (Strings{"cyan oval with bounding box (-20,10) to (20,-10), filled\n",
                                   "orange oval with bounding box (-5,100) to (5,90), line width 2\n"}));
    Ink filled = ink(KAVRO_CYAN);
    EXPECT_EQ(filled.left, cx - 20);
    EXPECT_EQ(filled.right, cx + 20);
    EXPECT_EQ(filled.top, cy - 10);
    EXPECT_EQ(filled.bottom, cy + 10);
    EXPECT_EQ(canvas_at(0, 95), color(KAVRO_WHITE));
    EXPECT_EQ(canvas_at(-5, 95), color(KAVRO_ORANGE));
}

using Circle = DrawingTest;

TEST_F(Circle, NegativeRadiusDrawsTheDiscOfItsAbsoluteValue) {
    EXPECT_EQ(KAVRO_circle(KAVRO_MAGENTA, 20, 30, -5), 1);
    EXPECT_EQ(messages(),
              (Strings{"Radius of -5 not possible, using radius 5\n", "magenta circle at (20,30), radius 5\n"}));
    Ink disc = ink(KAVRO_MAGENTA);
    EXPECT_EQ(disc.left, cx + 15);
    EXPECT_EQ(disc.right, cx + 25);
    EXPECT_EQ(disc.top, cy - 35);
    EXPECT_EQ(disc.bottom, cy - 25);
    EXPECT_EQ(canvas_at(20, 30), color(KAVRO_MAGENTA));
    EXPECT_EQ(canvas_at(25, 35), color(KAVRO_WHITE));
}

using Triangle = DrawingTest;

TEST_F(Triangle, VerticesAreApplicationPointsWithYUp) {
    KAVRO_triangle(KAVRO_GREEN, 0, 0, 20, 0, 0, 20, 0);
    KAVRO_triangle(KAVRO_BROWN, 0, -50, 20, -50, 0, -30, 1);
    EXPECT_EQ(messages(),
              (Strings{"green triangle at (0,0), (20,0), (0,20)\n", "brown triangle at (0,-50), (20,-50), (0,-30)\n"}));
    EXPECT_EQ(canvas_at(3, 3), color(KAVRO_GREEN));
    EXPECT_EQ(canvas_at(3, -3), color(KAVRO_WHITE));
    EXPECT_EQ(canvas_at(0, -40), color(KAVRO_BROWN));
    EXPECT_EQ(canvas_at(3, -47), color(KAVRO_WHITE)) << "an outline leaves the inside untouched";
}

using Line = DrawingTest;

TEST_F(Line, RunsFromTheFirstPointUpToButNotIncludingTheSecond) {
    KAVRO_line(KAVRO_NAVY_BLUE, 10, 0, -10, 0, 0);
    EXPECT_EQ(messages(), Strings{"navy blue line from (10,0) to (-10,0), width 0\n"});
    EXPECT_EQ(ink(KAVRO_NAVY_BLUE), box(-9, 0, 10, 0, 20)) << "width 0 draws one pixel wide";
}

TEST_F(Line, NegativeWidthIsMadePositive) {
    KAVRO_line(KAVRO_OLIVE, -10, 0, 10, 0, -3);
    EXPECT_EQ(messages(),
              (Strings{"Width of -3 not possible, using width 3\n", "olive line from (-10,0) to (10,0), width 3\n"}));
    Ink band = ink(KAVRO_OLIVE);
    EXPECT_EQ(band.bottom - band.top + 1, 3);
}

using Pixel = DrawingTest;

TEST_F(Pixel, SetsTheOnePixelUnderThePoint) {
    KAVRO_pixel(KAVRO_PURPLE, 3, 4);
    KAVRO_pixel(KAVRO_PEACH, 0, 0);
    EXPECT_EQ(messages(), (Strings{"purple pixel at (3,4)\n", "peach pixel at (0,0)\n"}));
    EXPECT_EQ(ink(KAVRO_PURPLE), box(3, 4, 3, 4, 1));
    EXPECT_EQ(ink(KAVRO_PEACH), (Ink{cx, cy, cx, cy, 1}));
}

using Corrections = DrawingTest;

TEST_F(Corrections, IllegalColorsBecomeRedAndTheLogNamesRed) {
    KAVRO_rectangle(24, -5, 5, 5, -5, 0);
    KAVRO_pixel(-1, 30, 40);
    EXPECT_EQ(messages(),
              (Strings{"Illegal color 24; using RED.\n", "red rectangle with bounding box (-5,5) to (5,-5), filled\n",
                       "Illegal color -1; using RED.\n", "red pixel at (30,40)\n"}));
    EXPECT_EQ(canvas_at(0, 0), color(KAVRO_RED));
    EXPECT_EQ(canvas_at(30, 40), color(KAVRO_RED));
}

TEST_F(Corrections, EachOperationChecksInItsOwnOrder) {
    KAVRO_logging(0);
    const std::string width = "Width of -2 not possible, using width 2\n";
    const std::string illegal = "Illegal color 99; using RED.\n";
    KAVRO_oval(99, 0, 0, 10, 10, -2);
    KAVRO_rectangle(99, 0, 0, 10, 10, -2);
    KAVRO_line(99, 0, 0, 10, 10, -2);
    KAVRO_triangle(99, 0, 0, 10, 10, 0, 10, -2);
    KAVRO_circle(99, 0, 0, -2);
    EXPECT_EQ(messages(), (Strings{width, illegal, illegal, width, width, illegal, illegal, width, illegal,
                                   "Radius of -2 not possible, using radius 2\n"}));
}

TEST_F(Corrections, PointSizesAreMadePositiveAndCappedAt127) {
    KAVRO_logging(0);
    auto drawn_at = [this](int ptsize) {
        KAVRO_clear();
        KAVRO_text(KAVRO_BLACK, -250, -200, ptsize, "Hg");
        return canvas();
    };
    platform::Bitmap from_minus_200 = drawn_at(-200);
    EXPECT_EQ(messages(), (Strings{"ptsize of -200 not possible, using ptsize 200\n",
                                   "ptsize of 200 not possible, using ptsize 127\n"}));
    platform::Bitmap from_128 = drawn_at(128);
    EXPECT_EQ(messages().size(), 3u);
    EXPECT_EQ(messages().back(), "ptsize of 128 not possible, using ptsize 127\n");
    platform::Bitmap at_127 = drawn_at(127);
    EXPECT_EQ(messages().size(), 3u) << "127 is allowed";
    EXPECT_TRUE(test_support::same_picture(from_minus_200, at_127, "ptsize-minus-200"));
    EXPECT_TRUE(test_support::same_picture(from_128, at_127, "ptsize-128"));
}

TEST_F(Corrections, LoggingOffKeepsTheCorrectionsAndDropsTheLogLines) {
    KAVRO_logging(0);
    KAVRO_circle(24, 0, 0, -5);
    KAVRO_text(KAVRO_BLACK, 0, 0, -1, "x");
    KAVRO_line(KAVRO_BLACK, 0, 0, 5, 5, 0);
    EXPECT_EQ(messages(), (Strings{"Illegal color 24; using RED.\n", "Radius of -5 not possible, using radius 5\n",
                                   "ptsize of -1 not possible, using ptsize 1\n"}));
}

using Text = DrawingTest;

TEST_F(Text, LinesHangFromTheAnchorOneLineHeightApart) {
    platform::Bitmap expected = canvas();
    EXPECT_EQ(KAVRO_text(KAVRO_BLACK, 0, 0, 20, "A\nB"), 3);
    EXPECT_EQ(messages(), Strings{"black text at (0,0), \"A\nB\"\n"});
    const platform::FontInstance* font = platform::find_font(text_font(20));
    int h = platform::text_extent(font, "A\nB", 3).height;
    platform::draw_text(platform::whole_target(expected), font, cx, cy - h, "A", 1, 0, false, 0);
    platform::draw_text(platform::whole_target(expected), font, cx, cy, "B", 1, 0, false, 0);
    EXPECT_TRUE(test_support::same_picture(canvas(), expected, "text-a-newline-b"));
    EXPECT_EQ(platform::get_background_mode(state.canvas), platform::OPAQUE_MODE) << "the mode is put back";
}

TEST_F(Text, DoublePercentDrawsOnePercentSign) {
    KAVRO_logging(0);
    EXPECT_EQ(KAVRO_text(KAVRO_BLACK, 0, 0, 20, "%d%%", 50), 3);
    platform::Bitmap formatted = canvas();
    KAVRO_clear();
    KAVRO_text(KAVRO_BLACK, 0, 0, 20, "%s", "50%");
    EXPECT_TRUE(test_support::same_picture(formatted, canvas(), "text-percent"));
}

TEST_F(Text, ATextBeyond1023CharactersIsCutToThem) {
    std::string longer(1500, 'W');
    EXPECT_EQ(KAVRO_text(KAVRO_BLACK, -300, 0, 8, "%s", longer.c_str()), 1023);
    EXPECT_EQ(KAVRO_textf(KAVRO_BLACK, -300, 0, 8, "%s", longer.c_str()), 1023);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].size(), 1023u) << "the log line is cut too";
    EXPECT_EQ(messages()[0].rfind("black text at (-300,0), \"WWW", 0), 0u);
}

using Undo = DrawingTest;

TEST_F(Undo, OnlyPrintsItsNotice) {
    KAVRO_rectangle(KAVRO_GOLD, -10, 10, 10, -10, 0);
    platform::Bitmap before = canvas();
    EXPECT_EQ(KAVRO_undo(), 1);
    KAVRO_logging(0);
    EXPECT_EQ(KAVRO_undo(), 1);
    const std::string notice = "KAVRO_undo is no longer supported.\n";
    EXPECT_EQ(messages(), (Strings{"gold rectangle with bounding box (-10,10) to (10,-10), filled\n", notice, notice}));
    EXPECT_EQ(canvas().pixels, before.pixels);
}

using Renderer = DrawingTest;

// Wide pens are made for their call; thin ones stay selected after it.
TEST_F(Renderer, AClearDrawsTheBlackRingWhateverPenTheLastPrimitiveLeft) {
    KAVRO_rectangle(KAVRO_RED, -100, 100, 100, -100, 7);
    KAVRO_oval(KAVRO_RED, -100, 100, 100, -100, 5);
    KAVRO_line(KAVRO_RED, -100, 0, 100, 0, 9);
    KAVRO_circle(KAVRO_RED, 0, 0, 50);
    KAVRO_line(KAVRO_RED, -100, 0, 100, 0, 2);
    KAVRO_clear();
    EXPECT_EQ(canvas().get(0, 0), color(KAVRO_BLACK));
    EXPECT_EQ(canvas().get(600, 539), color(KAVRO_BLACK));
    EXPECT_EQ(canvas().get(1, 1), color(KAVRO_WHITE));
    EXPECT_EQ(ink(KAVRO_BLACK).count, 2 * 601 + 2 * 538);
}

using Extremes = DrawingTest;

TEST_F(Extremes, EveryOperationReturnsNormallyAndDrawsOnlyTheCanvas) {
    KAVRO_logging(0);
    platform::Bitmap window_before = platform::client_picture(state.graphics_window);
    const int values[] = {INT_MIN, INT_MAX, 0};
    int calls = 0;
    auto check = [&](int result, int expected) {
        EXPECT_EQ(result, expected) << "call " << calls;
        EXPECT_EQ(state.dirty, 1u) << "call " << calls;
        state.dirty = 0;
        ++calls;
    };
    for (int a : values) {
        for (int b : values) {
            check(KAVRO_pixel(KAVRO_RED, a, b), 1);
            check(KAVRO_circle(KAVRO_RED, a, b, a), 1);
            check(KAVRO_circle(KAVRO_RED, a, b, b), 1);
            check(KAVRO_triangle(KAVRO_RED, a, b, b, a, a, a, a), 1);
            check(KAVRO_triangle(KAVRO_RED, a, b, b, a, b, b, b), 1);
            check(KAVRO_rectangle(KAVRO_RED, a, b, b, a, a), 1);
            check(KAVRO_rectangle(KAVRO_RED, a, b, b, a, b), 1);
            check(KAVRO_oval(KAVRO_RED, a, b, b, a, a), 1);
            check(KAVRO_oval(KAVRO_RED, a, b, b, a, b), 1);
            check(KAVRO_line(KAVRO_RED, a, b, b, a, a), 1);
            check(KAVRO_line(KAVRO_RED, a, a, b, b, b), 1);
            check(KAVRO_text(KAVRO_RED, a, b, a, "x\ny"), 3);
            check(KAVRO_text(KAVRO_RED, a, b, b, "%d", a), static_cast<int>(std::to_string(a).size()));
        }
    }
    EXPECT_EQ(canvas().width, kavro::CANVAS_WIDTH);
    EXPECT_EQ(canvas().height, kavro::CANVAS_HEIGHT);
    EXPECT_EQ(platform::client_picture(state.graphics_window).pixels, window_before.pixels)
        << "nothing reaches the window before the pump copies the canvas";
    Strings texts = messages();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Width of -2147483648 not possible, using width 2147483647\n"),
              texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "ptsize of 2147483647 not possible, using ptsize 127\n"),
              texts.end());
}

TEST_F(Extremes, HugeShapesCoverTheWholeCanvas) {
    KAVRO_rectangle(KAVRO_YELLOW, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0);
    EXPECT_TRUE(fills_canvas(KAVRO_YELLOW));
    KAVRO_circle(KAVRO_GREEN, 0, 0, INT_MIN);
    EXPECT_EQ(messages()[1], "Radius of -2147483648 not possible, using radius 2147483647\n");
    EXPECT_TRUE(fills_canvas(KAVRO_GREEN));
    KAVRO_line(KAVRO_PINK, INT_MIN, 0, INT_MAX, 0, INT_MAX);
    EXPECT_TRUE(fills_canvas(KAVRO_PINK));
    KAVRO_pixel(KAVRO_BLACK, INT_MAX, INT_MIN);
    EXPECT_TRUE(fills_canvas(KAVRO_PINK));
}
