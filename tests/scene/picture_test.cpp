// The scene's pictures as a person sees them: real clicks and ticks through
// the toolkit on the headless backend, then the canvas's pixels. Each test
// also writes its picture for a person to look at.
#include <gtest/gtest.h>

#include <string>

#include "platform/core/window.h"
#include "platform/drawing/drawing_context.h"
#include "scene/control_panel.h"
#include "scene/main_loop.h"
#include "scene_test_support.h"
#include "support/test_support.h"
#include "toolkit/inspect.h"

using namespace bridge;

namespace {

int button_y(int button) { return 233 - 25 * button; }
int row_y(int button, int row) { return 233 - 25 * button - 15 * row - 7; }

void click(SceneRecords& s, int x, int y) {
    scene_test::queue_event(KAVRO_MOUSE, x, y, 0);
    run_turn(s);
}

void ticks(SceneRecords& s, int count) {
    for (int i = 0; i < count; ++i) {
        scene_test::queue_event(KAVRO_PERIODIC, 0, 0, 0);
        run_turn(s);
    }
}

// Opens a button's sub-menu and lets it slide open completely.
void open_submenu(SceneRecords& s, int button) {
    click(s, -250, button_y(button));
    ticks(s, 8);
}

const platform::Bitmap& canvas() { return kavro::canvas_bitmap(); }

platform::ColorWord at(int x, int y) {
    platform::Point origin = kavro::canvas_origin();
    return canvas().get(origin.x + x, origin.y - y);
}

platform::ColorWord colour(int index) { return kavro::color_value(index); }

int count_colour(int left, int top, int right, int bottom, int index) {
    int count = 0;
    for (int y = bottom; y < top; ++y)
        for (int x = left; x < right; ++x) count += at(x, y) == colour(index);
    return count;
}

// The ink of one text call drawn alone on a cleared canvas, in scene coordinates.
struct Ink {
    int left = 1 << 30;
    int right = -(1 << 30);
    int top = -(1 << 30);
    int bottom = 1 << 30;
};

Ink ink_of(const scene_test::RecordedCall& text) {
    KAVRO_clear();
    KAVRO_text(text.args[0], text.args[1], text.args[2], text.args[3], "%s", text.text.c_str());
    Ink ink;
    platform::Point origin = kavro::canvas_origin();
    // Inside the cleared canvas's black ring.
    for (int row = 1; row < canvas().height - 1; ++row)
        for (int column = 1; column < canvas().width - 1; ++column) {
            if (canvas().get(column, row) == colour(KAVRO_WHITE)) continue;
            int x = column - origin.x;
            int y = origin.y - row;
            ink = Ink{std::min(ink.left, x), std::max(ink.right, x), std::max(ink.top, y), std::min(ink.bottom, y)};
        }
    return ink;
}

// Inside the outlined box from (left, top) to (right, bottom): clear of its
// border, or at most on it (the tight sub-menu rows: the descender of "Stop"
// reaches the row's bottom line, "Go Home" ends on the right one).
::testing::AssertionResult inside(const scene_test::RecordedCall& text, int left, int top, int right, int bottom,
                                  bool clear_of_border) {
    Ink ink = ink_of(text);
    int margin = clear_of_border ? 1 : 0;
    if (ink.left >= left + margin && ink.right <= right - margin && ink.top <= top - margin &&
        ink.bottom >= bottom + margin)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << '"' << text.text << "\" inks x " << ink.left << ".." << ink.right << ", y "
                                         << ink.bottom << ".." << ink.top << ", outside the box (" << left << ", "
                                         << top << ") to (" << right << ", " << bottom << ")";
}

}  // namespace

TEST(Pictures, EveryCaptionAndSubmenuLabelLiesInsideItsBox) {
    KAVRO_logging(0);
    PanelState panel{};
    panel.cars_wanted = 3;
    draw_panel(panel);
    test_support::save_picture(canvas(), "panel-captions.png");
    std::vector<scene_test::RecordedCall> captions = scene_test::recorded_calls_named("text");
    ASSERT_EQ(captions.size(), 9u);
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(inside(captions[i], -295, 245 - 25 * i, -220, 220 - 25 * i, true));

    for (int button : {0, 5, 6, 7}) {
        panel.menu_button = button;
        panel.item_count = button < 5 ? panel.cars_wanted : 1;
        panel.menu_state = 1;
        panel.menu_width = 45;
        scene_test::clear_calls();
        draw_submenu(panel);
        std::vector<scene_test::RecordedCall> labels = scene_test::recorded_calls_named("text");
        ASSERT_EQ(static_cast<int>(labels.size()), panel.row_count) << "button " << button;
        const int top = 233 - 25 * button;
        for (int row = 0; row < panel.row_count; ++row) {
            const scene_test::RecordedCall& label = labels[static_cast<std::size_t>(row)];
            bool tight = label.text == "Stop" || label.text == "Go Home";
            EXPECT_TRUE(inside(label, -220, top - 15 * row, -180, top - 15 * (row + 1), !tight));
        }
    }
}

TEST(Pictures, StartUpShowsTheLandscapeAtItsTabledPlaces) {
    SceneRecords s{};
    start_up(s, nullptr, nullptr, "", 1);
    test_support::save_picture(canvas(), "scene-start-up.png");
    EXPECT_EQ(at(150, 150), colour(KAVRO_ICE_BLUE)) << "sky";
    EXPECT_EQ(at(250, 195), colour(KAVRO_YELLOW)) << "sun centre";
    EXPECT_EQ(at(250, 214), colour(KAVRO_YELLOW)) << "sun's top edge";
    EXPECT_EQ(at(100, -140), colour(KAVRO_BLACK)) << "lower road band";
    EXPECT_EQ(at(100, -105), colour(KAVRO_BLACK)) << "upper road band";
    EXPECT_EQ(at(2, -137), colour(KAVRO_YELLOW)) << "a lower dash";
    EXPECT_EQ(at(7, -137), colour(KAVRO_BLACK)) << "the gap after it";
    EXPECT_EQ(at(0, 199), colour(KAVRO_WHITE)) << "the snow cap";
    EXPECT_EQ(at(-100, -200), colour(KAVRO_NAVY_BLUE)) << "the lake";
}

TEST(Pictures, TheClientAreasOutermostRowsAndColumnsShowSceneryNotTheClearedRing) {
    SceneRecords s{};
    start_up(s, nullptr, nullptr, "", 1);
    platform::Rect client;
    platform::get_client_rect(kavro::graphics_window(), client);
    ASSERT_GT(client.right, 2);
    ASSERT_GT(client.bottom, 2);
    const int right = client.right - 1;
    const int bottom = client.bottom - 1;
    // Canvas pixels are client pixels; the ring is black, what it encloses white.
    for (int x = 0; x <= right; ++x) {
        ASSERT_EQ(canvas().get(x, 0), colour(KAVRO_ICE_BLUE)) << "top row, column " << x;
        ASSERT_NE(canvas().get(x, bottom), colour(KAVRO_WHITE)) << "bottom row, column " << x;
        ASSERT_NE(canvas().get(x, bottom), colour(KAVRO_BLACK)) << "bottom row, column " << x;
    }
    for (int y = 0; y <= bottom; ++y) {
        ASSERT_NE(canvas().get(0, y), colour(KAVRO_WHITE)) << "left column, row " << y;
        ASSERT_NE(canvas().get(right, y), colour(KAVRO_WHITE)) << "right column, row " << y;
    }
    EXPECT_EQ(canvas().get(0, 0), colour(KAVRO_ICE_BLUE)) << "the ring's corner is covered";
}

TEST(Pictures, After500PeriodicEventsTheSkyAndSunFollowTheRecords) {
    SceneRecords s{};
    start_up(s, nullptr, nullptr, "", 1);
    ticks(s, 500);
    test_support::save_picture(canvas(), "scene-after-500-periodic-events.png");
    EXPECT_NE(s.sky.sky_color, KAVRO_ICE_BLUE) << "the day has ended";
    EXPECT_EQ(at(150, 150), colour(s.sky.sky_color));
    EXPECT_GE(s.panel.cars_present, 1);
}

TEST(Pictures, OpenCarSubmenuWithRainAndTheBoatOut) {
    SceneRecords s{};
    start_up(s, nullptr, nullptr, "", 1);
    open_submenu(s, 5);  // "How Many?"
    for (int i = 0; i < 3; ++i) {
        click(s, -200, row_y(5, 0));  // "More"
        ticks(s, 30);                 // the new car enters
    }
    click(s, -200, row_y(5, 2));  // "Back"
    ticks(s, 8);
    open_submenu(s, 6);  // "Rain!!"
    click(s, -200, row_y(6, 0));
    click(s, -200, row_y(6, 2));
    ticks(s, 8);
    open_submenu(s, 7);  // "VL Crew"
    click(s, -200, row_y(7, 0));
    click(s, -200, row_y(7, 2));
    ticks(s, 8);
    open_submenu(s, 2);  // "Faster": a car sub-menu
    ticks(s, 40);
    test_support::save_picture(canvas(), "scene-car-submenu-rain-boat.png");
    EXPECT_EQ(s.panel.cars_wanted, 4);
    EXPECT_EQ(s.rain.raining, 1);
    EXPECT_EQ(s.panel.crew_out, 1);
    EXPECT_EQ(s.panel.menu_state, 1) << "the sub-menu rests open";
    EXPECT_EQ(s.panel.menu_button, 2);
    EXPECT_GT(count_colour(-300, 250, 300, -250, KAVRO_NAVY_BLUE), 0);
    EXPECT_NE(s.panel.boat_x, 335) << "the boat has left its mooring";
}
