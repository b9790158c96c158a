// Tests of the rain's drops and of the crew boat's crossing.
#include "scene/rain_and_crew.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "scene/random.h"
#include "scene_test_support.h"

using namespace bridge;
using scene_test::call;

namespace {

PanelState boat_at(int x, int y) {
    PanelState panel{};
    panel.crew_out = 1;
    panel.boat_x = x;
    panel.boat_y = y;
    return panel;
}

int quarter(int factor) { return (random_number() * factor) % 290 + 1; }

}  // namespace

TEST(CrewBoat, DrawsHullDeckRowersThenOarsBeforeMoving) {
    PanelState panel = boat_at(335, -230);
    draw_crew_boat(panel);
    auto calls = scene_test::recorded_calls();
    ASSERT_EQ(calls.size(), 20u);
    EXPECT_EQ(calls[0], call("oval", {14, 310, -235, 360, -225, 0}));
    EXPECT_EQ(calls[1], call("rectangle", {9, 310, -228, 360, -225, 0}));
    for (int k = 1; k <= 6; ++k) {
        int cx = 310 + 7 * k;
        EXPECT_EQ(calls[2 * k], call("circle", {18, cx, -222, 2}));
        EXPECT_EQ(calls[2 * k + 1], call("oval", {k % 2 ? 8 : 17, cx - 3, -228, cx + 3, -225, 0}));
        EXPECT_EQ(calls[13 + k], call("line", {14, cx, -230, cx - 8, -242, 2}));
    }
    EXPECT_EQ(panel.boat_x, 333);
    EXPECT_EQ(panel.boat_y, -230);
}

TEST(CrewBoat, OarPhaseFollowsTheMagnitudeOfXModThree) {
    for (auto [x, reach] : {std::pair{-1, 0}, {-2, -8}, {-3, 8}, {3, 8}, {4, 0}, {5, -8}}) {
        PanelState panel = boat_at(x, -200);
        scene_test::clear_calls();
        draw_crew_boat(panel);
        auto oar = scene_test::recorded_calls_named("line").front();
        EXPECT_EQ(oar.args[3] - oar.args[1], reach) << "x " << x;
    }
}

TEST(CrewBoat, RisesWhenTheNewXIsAMultipleOfFive) {
    for (auto [x, rise] : {std::pair{337, 1}, {-3, 1}, {336, 0}, {-4, 0}}) {
        PanelState panel = boat_at(x, -200);
        draw_crew_boat(panel);
        EXPECT_EQ(panel.boat_y, -200 + rise) << "x " << x;
    }
}

TEST(CrewBoat, StartsAgainOnlyAfterTheHullWasWhollyOffTheCanvas) {
    PanelState leaving = boat_at(-325, -170);
    draw_crew_boat(leaving);
    EXPECT_EQ(leaving.boat_x, -327);
    draw_crew_boat(leaving);
    EXPECT_EQ(leaving.boat_x, 335);
    EXPECT_EQ(leaving.boat_y, -230);
}

TEST(CrewBoat, CrossingLasts332TurnsAndClimbsTo164) {
    PanelState panel = boat_at(335, -230);
    int turns = 0;
    int highest = panel.boat_y;
    do {
        highest = std::max(highest, panel.boat_y);
        draw_crew_boat(panel);
        ++turns;
    } while (panel.boat_x != 335 && turns < 1000);
    EXPECT_EQ(turns, 332);
    EXPECT_EQ(highest, -164);
}

TEST(Rain, NthRainTurnShowsExactlyNDrops) {
    RainState rain{};
    for (int n = 1; n <= 12; ++n) {
        scene_test::clear_calls();
        draw_rain(rain);
        EXPECT_EQ(rain.drop_count, n);
        EXPECT_EQ(scene_test::recorded_calls_named("line").size(), static_cast<size_t>(n));
    }
}

TEST(Rain, DropFallsThreePerTurnAsAFivePixelStrokeAndIsPlacedAnewOnItsFifthTurn) {
    RainState rain{};
    seed_generator(3);
    for (int turn = 1; turn <= 5; ++turn) {
        scene_test::clear_calls();
        draw_rain(rain);
        int fall = turn < 5 ? 3 * turn : 0;
        EXPECT_EQ(rain.drop_fall[0], fall);
        int x = rain.drop_x[0];
        int y = rain.drop_y[0] - fall;
        EXPECT_EQ(scene_test::recorded_calls_named("line").front(), call("line", {9, x, y, x, y - 5, 1}));
    }
}

TEST(Rain, NewDropsArePlacedByTheirLanesQuarter) {
    const int factors[4][2] = {{3, 7}, {-5, 27}, {-19, -17}, {13, -23}};
    for (int lane = 0; lane < 4; ++lane) {
        RainState rain{};
        rain.drop_count = rain.drop_target = lane;
        seed_generator(99);
        int x = quarter(std::abs(factors[lane][0])) * (factors[lane][0] < 0 ? -1 : 1);
        int y = quarter(std::abs(factors[lane][1])) * (factors[lane][1] < 0 ? -1 : 1);
        seed_generator(99);
        draw_rain(rain);
        EXPECT_EQ(rain.drop_x[lane], x) << "lane " << lane;
        EXPECT_EQ(rain.drop_y[lane], y) << "lane " << lane;
    }
}

TEST(Rain, FallenDropsArePlacedAnewByTheSecondTable) {
    const int factors[4][2] = {{23, 17}, {-19, 7}, {-5, -3}, {19, -13}};
    for (int lane = 0; lane < 4; ++lane) {
        RainState rain{};
        rain.drop_count = rain.drop_target = MAX_DROPS;
        rain.drop_fall[lane] = 12;
        seed_generator(99);
        int x = quarter(std::abs(factors[lane][0])) * (factors[lane][0] < 0 ? -1 : 1);
        int y = quarter(std::abs(factors[lane][1])) * (factors[lane][1] < 0 ? -1 : 1);
        seed_generator(99);
        draw_rain(rain);
        EXPECT_EQ(rain.drop_x[lane], x) << "lane " << lane;
        EXPECT_EQ(rain.drop_y[lane], y) << "lane " << lane;
        EXPECT_EQ(rain.drop_count, MAX_DROPS);
    }
}

TEST(Rain, RestartAfterStopDropsAllAtOnceAndAddsOnlyPastTheOldCount) {
    RainState rain{};
    for (int turn = 0; turn < 300; ++turn) {
        draw_rain(rain);
    }
    rain.drop_target = 0;
    for (int turn = 1; turn <= 301; ++turn) {
        draw_rain(rain);
        EXPECT_EQ(rain.drop_count, turn < 301 ? 300 : 301) << "turn " << turn;
    }
}

TEST(Rain, DropsAddedFourTurnsApartInOneSecondLandOnOnePoint) {
    RainState rain{};
    seed_generator(4242);
    draw_rain(rain);
    int first_x = rain.drop_x[0];
    int first_y = rain.drop_y[0];
    for (int turn = 2; turn <= 5; ++turn) {
        seed_generator(4242);
        draw_rain(rain);
    }
    EXPECT_EQ(rain.drop_x[4], first_x);
    EXPECT_EQ(rain.drop_y[4], first_y);
}
