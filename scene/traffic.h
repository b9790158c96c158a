// The cars on the two-lane road: entering one at a time while fewer are on the
// road than wanted, moving and wrapping on every periodic event, following the
// car ahead, and drawing. Lane 1 drives left along y -135, lane 2 right along
// y -115.
#pragma once

#include "scene/records.h"

namespace bridge {

// Once per turn: reseeds the generator, puts at most one new car into slot
// cars_present when no slot below cars_wanted lies in an entry zone (else sets
// entry_blocked to 5), then draws the cars.
void spawn_and_draw_cars(CarTable& cars, PanelState& panel);

// One periodic step for every slot below cars_wanted, in index order: the
// following check, then the move by dir * speed and the wrap by 640 that keeps
// x within -340..340.
void move_cars(CarTable& cars, const PanelState& panel);

// 1 if any slot below cars_wanted, on the road or not, has its x within
// 225..375 or -375..-225 (bounds included), else 0.
int entry_zone_busy(const CarTable& cars, const PanelState& panel);

// Finds the lowest slot in car i's lane that is 1..look_ahead px ahead of it;
// car i takes that car's speed (or stops behind a stopped one, saving its own
// speed as parked_speed) and falls back 3 px. 1 if it did, else 0.
int keep_distance(int i, int look_ahead, CarTable& cars, const PanelState& panel);

// Distance from car i forward to car j along their common lane, straight and
// without wrapping; NO_GAP when they are in different lanes.
int lane_gap(int i, int j, const CarTable& cars);

// Draws the cars on the road in slot order, five filled primitives each.
void draw_cars(const CarTable& cars, const PanelState& panel);

}  // namespace bridge
