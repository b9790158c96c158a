// The scene's pictures as a person sees them: real clicks and ticks through
// the toolkit on the headless backend, then the canvas's pixels. Each test
// also writes its picture for a person to look at.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi.h"
#include "platform/window.h"
#include "scene/control_panel.h"
#include "scene/main_loop.h"
#include "scene_test_support.h"
#include "support/test_support.h"
#include "toolkit/state.h"

using namespace bridge;

namespace {

int button_y(int button) { return 233 - 25 * button; }
int row_y(int button, int row) { return 233 - 25 * button - 15 * row - 7; }

void click(SceneRecords& s, int x, int y) {
    kavro_test_queue_event(KAVRO_MOUSE, x, y, 0);
    run_turn(s);
}

void ticks(SceneRecords& s, int count) {
    for (int i = 0; i < count; ++i) {
        kavro_test_queue_event(KAVRO_PERIODIC, 0, 0, 0);
        run_turn(s);
    }
}

// Opens a button's sub-menu and lets it slide open completely.
void open_submenu(SceneRecords& s, int button) {
    click(s, -250, button_y(button));
    ticks(s, 8);
}

const platform::Bitmap& canvas() { return *platform::bitmap_of(kavro::state.canvas_bitmap); }

platform::ColorWord at(int x, int y) { return canvas().get(kavro::state.centre_x + x, kavro::state.centre_y - y); }

platform::ColorWord colour(int index) { return kavro::COLOR_TABLE[index].value; }

int count_colour(int left, int top, int right, int bottom, int index) {
    int count = 0;
    for (int y = bottom; y < top; ++y)
        for (int x = left; x < right; ++x) count += at(x, y) == colour(index);
    return count;
}

}  // namespace

TEST(Pictures, StartUpShowsTheLandscapeAtItsTabledPlaces) {
    REQUIRE_EVENT_SCRIPT();
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
    REQUIRE_EVENT_SCRIPT();
    SceneRecords s{};
    start_up(s, nullptr, nullptr, "", 1);
    platform::Rect client;
    platform::get_client_rect(kavro::state.graphics_window, client);
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
    REQUIRE_EVENT_SCRIPT();
    SceneRecords s{};
    start_up(s, nullptr, nullptr, "", 1);
    ticks(s, 500);
    test_support::save_picture(canvas(), "scene-after-500-periodic-events.png");
    EXPECT_NE(s.sky.sky_color, KAVRO_ICE_BLUE) << "the day has ended";
    EXPECT_EQ(at(150, 150), colour(s.sky.sky_color));
    EXPECT_GE(s.panel.cars_present, 1);
}

TEST(Pictures, OpenCarSubmenuWithRainAndTheBoatOut) {
    REQUIRE_EVENT_SCRIPT();
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
