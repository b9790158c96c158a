// The cars: entering, moving, following the car ahead and drawing.
#include "scene/traffic.h"

#include <algorithm>

#include "scene/random.h"
#include "toolkit/kavro.h"

namespace bridge {

namespace {

constexpr int FILLED = 0;
constexpr int SPAWN_SPEED_MIN = 11;
constexpr int SPAWN_SPEED_SPREAD = 5;
constexpr int WHEEL_RADIUS = 5;

// The counts in PanelState never exceed MAX_CARS; clamping keeps a damaged
// record from reaching outside the slot arrays.
int slot_limit(int count) { return std::clamp(count, 0, MAX_CARS); }

bool is_slot(int i) { return i >= 0 && i < MAX_CARS; }

bool in_entry_zone(int x) {
    return (x >= ENTRY_ZONE_NEAR && x <= ENTRY_ZONE_FAR) || (x >= -ENTRY_ZONE_FAR && x <= -ENTRY_ZONE_NEAR);
}

void draw_car(int x, int y, int color) {
    KAVRO_oval(color, x - 20, y + 6, x + 20, y + 18, FILLED);
    KAVRO_rectangle(color, x - 20, y + 6, x + 20, y + 12, FILLED);
    KAVRO_oval(color, x - 6, y + 18, x + 6, y + 24, FILLED);
    KAVRO_circle(KAVRO_GRAY_50, x - 10, y + 6, WHEEL_RADIUS);
    KAVRO_circle(KAVRO_GRAY_50, x + 10, y + 6, WHEEL_RADIUS);
}

void put_car_on_road(int n, CarTable& cars) {
    // The lane, speed and colour are the first three draws after the reseed,
    // so they depend only on the second in which the car enters.
    if (random_number() % 2 != 0) {
        cars.x[n] = WRAP_LIMIT + n;
        cars.y[n] = LANE_LOWER_Y;
        cars.dir[n] = -1;
        cars.lane[n] = LANE_LOWER;
    } else {
        cars.x[n] = -WRAP_LIMIT - n;
        cars.y[n] = LANE_UPPER_Y;
        cars.dir[n] = 1;
        cars.lane[n] = LANE_UPPER;
    }
    int speed = random_number() % SPAWN_SPEED_SPREAD + SPAWN_SPEED_MIN;
    cars.speed[n] = speed;
    cars.parked_speed[n] = speed;
    cars.color[n] = random_number() % KAVRO_COLOR_COUNT;
}

}  // namespace

void spawn_and_draw_cars(CarTable& cars, PanelState& panel) {
    int n = panel.cars_present;
    seed_random();
    if (n < panel.cars_wanted) {
        if (entry_zone_busy(cars, panel)) {
            draw_cars(cars, panel);
            panel.entry_blocked = ENTRY_BLOCKED;
            return;
        }
        panel.entry_blocked = 0;
        panel.waiting = 0;
        if (is_slot(n)) {
            put_car_on_road(n, cars);
            panel.cars_present = n + 1;
        }
    }
    draw_cars(cars, panel);
}

void move_cars(CarTable& cars, const PanelState& panel) {
    int count = slot_limit(panel.cars_wanted);
    for (int i = 0; i < count; ++i) {
        keep_distance(i, LOOK_AHEAD, cars, panel);
        int p = cars.x[i] + cars.dir[i] * cars.speed[i];
        if (p > WRAP_LIMIT) {
            p -= WRAP_SPAN;
        }
        if (p < -WRAP_LIMIT) {
            p += WRAP_SPAN;
        }
        cars.x[i] = p;
    }
}

int entry_zone_busy(const CarTable& cars, const PanelState& panel) {
    int count = slot_limit(panel.cars_wanted);
    for (int i = 0; i < count; ++i) {
        if (in_entry_zone(cars.x[i])) {
            return 1;
        }
    }
    return 0;
}

int keep_distance(int i, int look_ahead, CarTable& cars, const PanelState& panel) {
    if (!is_slot(i)) {
        return 0;
    }
    int count = slot_limit(panel.cars_wanted);
    for (int j = 0; j < count; ++j) {
        cars.gap[j] = lane_gap(i, j, cars);
    }
    // The lowest slot decides, not the nearest car.
    int leader = -1;
    for (int j = 0; j < count; ++j) {
        if (cars.gap[j] > 0 && cars.gap[j] <= look_ahead && cars.lane[j] == cars.lane[i]) {
            leader = j;
            break;
        }
    }
    if (leader < 0) {
        return 0;
    }
    if (cars.speed[leader] > 0) {
        cars.speed[i] = cars.speed[leader];
    } else if (cars.speed[leader] == 0) {
        cars.parked_speed[i] = cars.speed[i];
        cars.speed[i] = 0;
    }
    if (cars.lane[i] == LANE_LOWER) {
        cars.x[i] += PUSH_BACK;
    } else if (cars.lane[i] == LANE_UPPER) {
        cars.x[i] -= PUSH_BACK;
    }
    return 1;
}

int lane_gap(int i, int j, const CarTable& cars) {
    if (!is_slot(i) || !is_slot(j)) {
        return NO_GAP;
    }
    if (cars.lane[i] == LANE_LOWER && cars.lane[j] == LANE_LOWER) {
        return cars.x[i] - cars.x[j];
    }
    if (cars.lane[i] == LANE_UPPER && cars.lane[j] == LANE_UPPER) {
        return cars.x[j] - cars.x[i];
    }
    return NO_GAP;
}

void draw_cars(const CarTable& cars, const PanelState& panel) {
    int count = slot_limit(panel.cars_present);
    for (int i = 0; i < count; ++i) {
        draw_car(cars.x[i], cars.y[i], cars.color[i]);
    }
}

}  // namespace bridge
