// Placing, moving and drawing the raindrops, and rowing and drawing the crew boat.
#include "scene/rain_and_crew.h"

#include <algorithm>
#include <cstdlib>

#include "scene/random.h"
#include "toolkit/kavro.h"

namespace bridge {

namespace {

constexpr int FILLED = 0;
constexpr int ROWERS = 6;
constexpr int ROWER_SPACING = 7;
constexpr int HULL_HALF_LENGTH = 25;
constexpr int CANVAS_LEFT = -300;
constexpr int BOAT_STEP = 2;
constexpr int BOAT_RISE_EVERY = 5;
constexpr int OAR_REACH[3] = {8, 0, -8};

constexpr int FALL_STEP = 3;
constexpr int FALL_COURSE = 15;
constexpr int STROKE_LENGTH = 5;
constexpr int LANES = 4;
constexpr int QUARTER = 290;

// A coordinate from 1 to 290; the factor spreads the draws differently per
// lane and coordinate.
int spread(int factor) { return (random_number() * factor) % QUARTER + 1; }

// Lanes are the quarters of the picture: upper right, upper left, lower left,
// lower right.
void place_new_drop(int i, RainState& rain) {
    switch (i % LANES) {
    case 0:
        rain.drop_x[i] = spread(3);
        rain.drop_y[i] = spread(7);
        break;
    case 1:
        rain.drop_x[i] = -spread(5);
        rain.drop_y[i] = spread(27);
        break;
    case 2:
        rain.drop_x[i] = -spread(19);
        rain.drop_y[i] = -spread(17);
        break;
    default:
        rain.drop_x[i] = spread(13);
        rain.drop_y[i] = -spread(23);
        break;
    }
}

void replace_drop(int i, RainState& rain) {
    switch (i % LANES) {
    case 0:
        rain.drop_x[i] = spread(23);
        rain.drop_y[i] = spread(17);
        break;
    case 1:
        rain.drop_x[i] = -spread(19);
        rain.drop_y[i] = spread(7);
        break;
    case 2:
        rain.drop_x[i] = -spread(5);
        rain.drop_y[i] = -spread(3);
        break;
    default:
        rain.drop_x[i] = spread(19);
        rain.drop_y[i] = -spread(13);
        break;
    }
}

}  // namespace

void draw_crew_boat(PanelState& panel) {
    int bx = panel.boat_x;
    int by = panel.boat_y;
    KAVRO_oval(KAVRO_BROWN, bx - HULL_HALF_LENGTH, by - 5, bx + HULL_HALF_LENGTH, by + 5, FILLED);
    KAVRO_rectangle(KAVRO_NAVY_BLUE, bx - HULL_HALF_LENGTH, by + 2, bx + HULL_HALF_LENGTH, by + 5, FILLED);
    for (int k = 1; k <= ROWERS; ++k) {
        int cx = bx - HULL_HALF_LENGTH + ROWER_SPACING * k;
        KAVRO_circle(KAVRO_PEACH, cx, by + 8, 2);
        KAVRO_oval(k % 2 == 0 ? KAVRO_GOLD : KAVRO_PURPLE, cx - 3, by + 2, cx + 3, by + 5, FILLED);
    }
    int reach = OAR_REACH[std::abs(bx % 3)];
    for (int k = 1; k <= ROWERS; ++k) {
        int cx = bx - HULL_HALF_LENGTH + ROWER_SPACING * k;
        KAVRO_line(KAVRO_BROWN, cx, by, cx + reach, by - 12, 2);
    }
    panel.boat_x -= BOAT_STEP;
    if (panel.boat_x % BOAT_RISE_EVERY == 0) {
        panel.boat_y += 1;
    }
    if (bx + HULL_HALF_LENGTH < CANVAS_LEFT) {
        panel.boat_x = BOAT_HOME_X;
        panel.boat_y = BOAT_HOME_Y;
    }
}

void draw_rain(RainState& rain) {
    rain.drop_target = std::min(rain.drop_target + 1, MAX_DROPS);
    // drop_count never leaves 0..900; the clamp keeps a damaged record inside
    // the drop arrays.
    rain.drop_count = std::clamp(rain.drop_count, 0, MAX_DROPS);
    while (rain.drop_count < rain.drop_target) {
        int i = rain.drop_count;
        place_new_drop(i, rain);
        rain.drop_fall[i] = 0;
        rain.drop_count += 1;
    }
    for (int i = 0; i < rain.drop_count; ++i) {
        rain.drop_fall[i] += FALL_STEP;
        if (rain.drop_fall[i] >= FALL_COURSE) {
            rain.drop_fall[i] = 0;
            replace_drop(i, rain);
        }
    }
    for (int i = 0; i < rain.drop_count; ++i) {
        int top = rain.drop_y[i] - rain.drop_fall[i];
        KAVRO_line(KAVRO_NAVY_BLUE, rain.drop_x[i], top, rain.drop_x[i], top - STROKE_LENGTH, 1);
    }
}

}  // namespace bridge
