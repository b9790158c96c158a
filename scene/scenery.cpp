// The background's shapes and the sun's path through the day.
#include "scene/scenery.h"

#include "toolkit/kavro.h"

namespace bridge {

namespace {

constexpr int SUN_STEP = 7;
constexpr int SUN_WRAP_X = -330;
constexpr int SUN_SINK = 15;
constexpr int DUSK_BELOW_Y = 125;
constexpr int DUSK_SHIFT_X = 4;
constexpr int NIGHT_BELOW_Y = 0;
constexpr int SUN_RADIUS = 20;

constexpr int FILLED = 0;
constexpr int LOWER_DASH_Y = -137;
constexpr int UPPER_DASH_Y = -108;
constexpr int DASH_LENGTH = 4;

void draw_mountains() {
    KAVRO_triangle(KAVRO_GRAY_50, -300, -25, 300, -25, 0, 200, FILLED);
    KAVRO_triangle(KAVRO_WHITE, -27, 180, 27, 180, 0, 200, FILLED);
    // The snow line's three teeth point down from the cap.
    KAVRO_triangle(KAVRO_WHITE, -27, 180, -9, 180, -18, 175, FILLED);
    KAVRO_triangle(KAVRO_WHITE, -9, 180, 9, 180, 0, 175, FILLED);
    KAVRO_triangle(KAVRO_WHITE, 9, 180, 27, 180, 18, 175, FILLED);
    KAVRO_triangle(KAVRO_GRAY_20, -375, -25, 100, -25, -225, 125, FILLED);
    KAVRO_triangle(KAVRO_BROWN, 0, -25, 600, -25, 275, 166, FILLED);
}

}  // namespace

void draw_scenery(int sun_x, int sun_y, int sky_color) {
    KAVRO_rectangle(sky_color, -300, -250, 300, 250, FILLED);
    // The sun comes before the land so that a low sun sinks behind the hills.
    KAVRO_circle(KAVRO_YELLOW, sun_x, sun_y, SUN_RADIUS);
    KAVRO_rectangle(KAVRO_FOREST_GREEN, -300, -250, 300, -25, FILLED);
    KAVRO_oval(KAVRO_NAVY_BLUE, -150, -350, 400, -175, FILLED);
    KAVRO_oval(KAVRO_NAVY_BLUE, -600, -500, 150, -50, FILLED);
    KAVRO_rectangle(KAVRO_BLACK, -300, -147, 300, -127, FILLED);
    KAVRO_rectangle(KAVRO_BLACK, -300, -118, 300, -98, FILLED);
    for (int x = -300; x <= 300; x += 5) {
        if (x % 2 != 0) {
            continue;
        }
        KAVRO_line(KAVRO_YELLOW, x, LOWER_DASH_Y, x + DASH_LENGTH, LOWER_DASH_Y, 1);
        KAVRO_line(KAVRO_YELLOW, x, UPPER_DASH_Y, x + DASH_LENGTH, UPPER_DASH_Y, 1);
    }
    draw_mountains();
}

void advance_sun(SkyState& sky) {
    sky.sun_x -= SUN_STEP;
    if (sky.sun_x >= SUN_WRAP_X) {
        return;
    }
    sky.sun_x = -sky.sun_x;
    sky.sun_y -= SUN_SINK;
    sky.sky_color = KAVRO_ICE_BLUE;
    if (sky.sun_y < DUSK_BELOW_Y) {
        sky.sky_color = KAVRO_MAGENTA;
        sky.sun_x += DUSK_SHIFT_X;
    }
    if (sky.sun_y < NIGHT_BELOW_Y) {
        sky.sky_color = KAVRO_BLACK;
        sky.sun_y += SUN_SINK;
    }
}

}  // namespace bridge
