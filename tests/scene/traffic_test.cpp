// Tests of the cars: the entry zone, entering, moving, following and drawing.
#include "scene/traffic.h"

#include <gtest/gtest.h>

#include "scene/random.h"
#include "scene_test_support.h"

using namespace bridge;
using scene_test::call;

namespace {

CarTable empty_table() {
    CarTable cars{};
    for (int& parked : cars.parked_speed) {
        parked = START_PARKED_SPEED;
    }
    return cars;
}

PanelState panel_with(int cars_present, int cars_wanted) {
    PanelState panel{};
    panel.cars_present = cars_present;
    panel.cars_wanted = cars_wanted;
    return panel;
}

void place(CarTable& cars, int i, int lane, int x, int speed) {
    cars.lane[i] = lane;
    cars.x[i] = x;
    cars.y[i] = lane == LANE_LOWER ? LANE_LOWER_Y : LANE_UPPER_Y;
    cars.dir[i] = lane == LANE_LOWER ? -1 : 1;
    cars.speed[i] = speed;
}

}  // namespace

TEST(CarEntry, FirstCarStandsJustBeyondItsEndOfTheRoad) {
    CarTable cars = empty_table();
    PanelState panel = panel_with(0, 1);
    panel.waiting = 1;
    spawn_and_draw_cars(cars, panel);
    EXPECT_EQ(panel.cars_present, 1);
    EXPECT_EQ(panel.entry_blocked, 0);
    EXPECT_EQ(panel.waiting, 0);
    if (cars.lane[0] == LANE_LOWER) {
        EXPECT_EQ(cars.x[0], 340);
        EXPECT_EQ(cars.y[0], -135);
        EXPECT_EQ(cars.dir[0], -1);
    } else {
        EXPECT_EQ(cars.lane[0], LANE_UPPER);
        EXPECT_EQ(cars.x[0], -340);
        EXPECT_EQ(cars.y[0], -115);
        EXPECT_EQ(cars.dir[0], 1);
    }
    EXPECT_GE(cars.speed[0], 11);
    EXPECT_LE(cars.speed[0], 15);
    EXPECT_EQ(cars.parked_speed[0], cars.speed[0]);
}

TEST(CarEntry, LaneSpeedAndColourAreTheFirstThreeDrawsOfTheSecond) {
    CarTable cars = empty_table();
    PanelState panel = panel_with(12, 13);
    int lane_draw = 0, speed_draw = 0, color_draw = 0;
    ASSERT_TRUE(scene_test::within_one_second([&] {
        cars = empty_table();
        panel = panel_with(12, 13);
        spawn_and_draw_cars(cars, panel);
        seed_generator(static_cast<std::uint32_t>(KAVRO_time()));
        lane_draw = random_number();
        speed_draw = random_number();
        color_draw = random_number();
    }));
    EXPECT_EQ(cars.lane[12], lane_draw % 2 ? LANE_LOWER : LANE_UPPER);
    EXPECT_EQ(cars.x[12], lane_draw % 2 ? 352 : -352);
    EXPECT_EQ(cars.speed[12], speed_draw % 5 + 11);
    EXPECT_EQ(cars.color[12], color_draw % 24);
}

TEST(CarEntry, TwoCarsInOneSecondAreAlike) {
    CarTable cars = empty_table();
    ASSERT_TRUE(scene_test::within_one_second([&] {
        cars = empty_table();
        PanelState panel = panel_with(0, 2);
        spawn_and_draw_cars(cars, panel);
        cars.x[0] = 0;
        spawn_and_draw_cars(cars, panel);
        ASSERT_EQ(panel.cars_present, 2);
    }));
    EXPECT_EQ(cars.lane[1], cars.lane[0]);
    EXPECT_EQ(cars.speed[1], cars.speed[0]);
    EXPECT_EQ(cars.color[1], cars.color[0]);
    EXPECT_EQ(cars.x[1], cars.lane[0] == LANE_LOWER ? 341 : -341);
}

TEST(CarEntry, AtMostOneCarPerTurnAsTheNewCarBlocksItsZone) {
    CarTable cars = empty_table();
    PanelState panel = panel_with(0, 5);
    spawn_and_draw_cars(cars, panel);
    spawn_and_draw_cars(cars, panel);
    EXPECT_EQ(panel.cars_present, 1);
    EXPECT_EQ(panel.entry_blocked, ENTRY_BLOCKED);
}

TEST(CarEntry, ReseedsEveryTurnEvenWithNoCarDue) {
    int after_spawn = 0, expected = 0;
    ASSERT_TRUE(scene_test::within_one_second([&] {
        CarTable cars = empty_table();
        PanelState panel = panel_with(0, 0);
        seed_generator(12345);
        spawn_and_draw_cars(cars, panel);
        after_spawn = random_number();
        seed_generator(static_cast<std::uint32_t>(KAVRO_time()));
        expected = random_number();
    }));
    EXPECT_EQ(after_spawn, expected);
}

TEST(EntryZone, CountsEverySlotBelowCarsWantedWithBoundsIncluded) {
    CarTable cars = empty_table();
    PanelState panel = panel_with(1, 3);
    for (int x : {225, 300, 375, -225, -300, -375}) {
        cars.x[2] = x;
        EXPECT_EQ(entry_zone_busy(cars, panel), 1) << x;
    }
    for (int x : {224, 376, -224, -376, 0}) {
        cars.x[2] = x;
        EXPECT_EQ(entry_zone_busy(cars, panel), 0) << x;
    }
    cars.x[2] = 0;
    cars.x[3] = 300;
    EXPECT_EQ(entry_zone_busy(cars, panel), 0);
}

TEST(EntryZone, BlockedEntryAddsNoCarAndSetsEntryBlocked) {
    CarTable cars = empty_table();
    place(cars, 0, LANE_LOWER, -230, 11);
    PanelState panel = panel_with(1, 2);
    panel.waiting = 1;
    spawn_and_draw_cars(cars, panel);
    EXPECT_EQ(panel.cars_present, 1);
    EXPECT_EQ(panel.entry_blocked, 5);
    EXPECT_EQ(panel.waiting, 1);
}

namespace {

// One step of a car alone on the road.
int step_alone(int lane, int x, int speed) {
    CarTable cars = empty_table();
    place(cars, 0, lane, x, speed);
    move_cars(cars, panel_with(1, 1));
    return cars.x[0];
}

}  // namespace

TEST(CarMovement, WrapsBy640OnlyBeyond340) {
    EXPECT_EQ(step_alone(LANE_LOWER, -335, 11), 294);
    EXPECT_EQ(step_alone(LANE_UPPER, 335, 11), -294);
    EXPECT_EQ(step_alone(LANE_UPPER, 329, 11), 340);
    EXPECT_EQ(step_alone(LANE_LOWER, -329, 11), -340);
}

TEST(CarMovement, SlotTwelveWrapsOnItsFirstStep) { EXPECT_EQ(step_alone(LANE_LOWER, 352, 11), -299); }

TEST(CarMovement, StoppedCarBeyondTheEndIsStillWrapped) {
    EXPECT_EQ(step_alone(LANE_LOWER, 345, 0), -295);
    EXPECT_EQ(step_alone(LANE_UPPER, -341, 0), 299);
}

TEST(CarMovement, MovesSlotsBelowCarsWantedOnly) {
    CarTable cars = empty_table();
    place(cars, 0, LANE_LOWER, 100, 10);
    place(cars, 1, LANE_UPPER, 100, 10);
    move_cars(cars, panel_with(0, 1));
    EXPECT_EQ(cars.x[0], 90);
    EXPECT_EQ(cars.x[1], 100);
}

TEST(CarMovement, EarlierSlotsHaveMovedWhenLaterOnesMeasure) {
    CarTable cars = empty_table();
    place(cars, 0, LANE_LOWER, 100, 10);
    place(cars, 1, LANE_LOWER, 170, 14);
    move_cars(cars, panel_with(2, 2));
    EXPECT_EQ(cars.speed[1], 14);
    EXPECT_EQ(cars.x[1], 156);

    place(cars, 0, LANE_LOWER, 175, 14);
    place(cars, 1, LANE_LOWER, 100, 10);
    move_cars(cars, panel_with(2, 2));
    EXPECT_EQ(cars.speed[0], 10);
    EXPECT_EQ(cars.x[0], 168);
}

TEST(Following, AdoptsTheLeadersSpeedAndFallsBackAgainstTravel) {
    CarTable cars = empty_table();
    place(cars, 0, LANE_LOWER, 100, 15);
    place(cars, 1, LANE_LOWER, 175, 11);
    place(cars, 2, LANE_UPPER, -100, 9);
    place(cars, 3, LANE_UPPER, -150, 12);
    PanelState panel = panel_with(4, 4);
    EXPECT_EQ(keep_distance(1, LOOK_AHEAD, cars, panel), 1);
    EXPECT_EQ(cars.speed[1], 15);
    EXPECT_EQ(cars.x[1], 178);
    EXPECT_EQ(keep_distance(3, LOOK_AHEAD, cars, panel), 1);
    EXPECT_EQ(cars.speed[3], 9);
    EXPECT_EQ(cars.x[3], -153);
    EXPECT_EQ(cars.parked_speed[3], START_PARKED_SPEED);
}

TEST(Following, SeesOnlyCarsOneTo75AheadInItsOwnLane) {
    CarTable cars = empty_table();
    place(cars, 0, LANE_LOWER, 100, 5);
    place(cars, 2, LANE_UPPER, 120, 5);
    PanelState panel = panel_with(3, 3);
    for (int x : {100, 176, 99, 40}) {
        place(cars, 1, LANE_LOWER, x, 12);
        EXPECT_EQ(keep_distance(1, LOOK_AHEAD, cars, panel), 0) << x;
        EXPECT_EQ(cars.speed[1], 12);
    }
    EXPECT_EQ(lane_gap(1, 2, cars), NO_GAP);
    EXPECT_EQ(lane_gap(2, 0, cars), NO_GAP);
    EXPECT_EQ(lane_gap(0, 0, cars), 0);
    place(cars, 1, LANE_LOWER, 330, 12);
    cars.x[0] = -330;
    EXPECT_EQ(lane_gap(0, 1, cars), -660);
}

TEST(Following, StopsBehindAStoppedCarAndLosesItsParkedSpeedWhenStuckTwice) {
    CarTable cars = empty_table();
    place(cars, 0, LANE_LOWER, 0, 0);
    place(cars, 1, LANE_LOWER, 60, 12);
    cars.parked_speed[1] = 13;
    PanelState panel = panel_with(2, 2);
    keep_distance(1, LOOK_AHEAD, cars, panel);
    EXPECT_EQ(cars.speed[1], 0);
    EXPECT_EQ(cars.parked_speed[1], 12);
    keep_distance(1, LOOK_AHEAD, cars, panel);
    EXPECT_EQ(cars.parked_speed[1], 0);
}

TEST(Following, StoppedQueueSettlesWithGapsOf76To78) {
    CarTable cars = empty_table();
    place(cars, 0, LANE_LOWER, 0, 0);
    place(cars, 1, LANE_LOWER, 100, 12);
    place(cars, 2, LANE_LOWER, 200, 14);
    PanelState panel = panel_with(3, 3);
    for (int step = 0; step < 100; ++step) {
        move_cars(cars, panel);
    }
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(cars.speed[i], 0);
        EXPECT_GE(cars.x[i] - cars.x[i - 1], 76);
        EXPECT_LE(cars.x[i] - cars.x[i - 1], 78);
    }
}

TEST(Following, LowestSlotDecidesNotTheNearestCar) {
    CarTable cars = empty_table();
    place(cars, 0, LANE_LOWER, 100, 5);
    place(cars, 1, LANE_LOWER, 140, 9);
    place(cars, 2, LANE_LOWER, 150, 13);
    keep_distance(2, LOOK_AHEAD, cars, panel_with(3, 3));
    EXPECT_EQ(cars.speed[2], 5);
}

TEST(CarDrawing, FivePrimitivesPerCarOnTheRoadInSlotOrder) {
    CarTable cars = empty_table();
    place(cars, 0, LANE_LOWER, 100, 5);
    cars.color[0] = 13;
    place(cars, 1, LANE_UPPER, -40, 5);
    cars.color[1] = 4;
    draw_cars(cars, panel_with(2, 3));
    auto calls = scene_test::recorded_calls();
    ASSERT_EQ(calls.size(), 10u);
    EXPECT_EQ(calls[0], call("oval", {13, 80, -129, 120, -117, 0}));
    EXPECT_EQ(calls[1], call("rectangle", {13, 80, -129, 120, -123, 0}));
    EXPECT_EQ(calls[2], call("oval", {13, 94, -117, 106, -111, 0}));
    EXPECT_EQ(calls[3], call("circle", {22, 90, -129, 5}));
    EXPECT_EQ(calls[4], call("circle", {22, 110, -129, 5}));
    EXPECT_EQ(calls[5], call("oval", {4, -60, -109, -20, -97, 0}));
    EXPECT_EQ(calls[9], call("circle", {22, -30, -109, 5}));
}
