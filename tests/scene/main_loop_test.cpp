// Tests of start-up and of the turns of the main loop.
#include "scene/main_loop.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "scene_test_support.h"

using namespace bridge;
using scene_test::call;

namespace {

// Starts the scene with the recorder cleared afterwards, so each test sees
// only the calls of its own turns.
void start(SceneRecords& s) {
    start_up(s, nullptr, nullptr, "", 1);
    scene_test::clear_calls();
}

int turn_with(SceneRecords& s, int kind, int x = 0, int y = 0, char key = 0) {
    scene_test::queue_event(kind, x, y, key);
    return run_turn(s);
}

void click(SceneRecords& s, int x, int y) { turn_with(s, KAVRO_MOUSE, x, y); }

bool drew_text(const std::string& text) {
    auto texts = scene_test::recorded_calls_named("text");
    return std::any_of(texts.begin(), texts.end(), [&](const scene_test::RecordedCall& c) { return c.text == text; });
}

}  // namespace

TEST(StartUp, SwitchesTheLogOffBeforeClearingThenDrawsTheFirstPicture) {
    SceneRecords s{};
    scene_test::clear_calls();
    start_up(s, nullptr, nullptr, "", 7);
    auto calls = scene_test::recorded_calls();
    ASSERT_EQ(calls.size(), 4u + 136u + 18u + 5u);
    EXPECT_EQ(calls[0], call("open", {7}));
    EXPECT_EQ(calls[1], call("logging", {0}));
    EXPECT_EQ(calls[2], call("clear", {}));
    EXPECT_EQ(calls[3], call("animate", {2}));
    EXPECT_EQ(calls[4], call("rectangle", {11, -300, -250, 300, 250, 0}));
    EXPECT_EQ(calls[5], call("circle", {5, 250, 195, 20}));
    EXPECT_EQ(s.panel.cars_present, 1);
    EXPECT_EQ(s.cars.x[0], s.cars.lane[0] == LANE_LOWER ? 340 : -340);
    EXPECT_EQ(s.panel.gave_up, 1);
    EXPECT_EQ(s.panel.boat_x, 335);
    EXPECT_EQ(s.panel.boat_y, -230);
    EXPECT_EQ(s.cars.parked_speed[19], 8);
}

TEST(MainLoop, OnlyPeriodicEventsMoveTheSunAndTheCars) {
    SceneRecords s{};
    start(s);
    int car_x = s.cars.x[0];
    turn_with(s, KAVRO_KBD, 0, 0, 'a');
    click(s, 100, 100);
    EXPECT_EQ(s.sky.sun_x, 250);
    EXPECT_EQ(s.cars.x[0], car_x);
    EXPECT_EQ(turn_with(s, KAVRO_PERIODIC), 0);
    EXPECT_EQ(s.sky.sun_x, 243);
    EXPECT_EQ(s.cars.x[0], car_x + s.cars.dir[0] * s.cars.speed[0]);
}

TEST(MainLoop, EveryTurnRedrawsAndStepsBoatRainAndWait) {
    SceneRecords s{};
    start(s);
    s.panel.crew_out = 1;
    s.rain.raining = 1;
    s.panel.cars_wanted = 2;
    turn_with(s, KAVRO_KBD, 0, 0, 'x');
    EXPECT_EQ(s.panel.boat_x, 333);
    EXPECT_EQ(s.rain.drop_count, 1);
    EXPECT_EQ(s.panel.entry_blocked, ENTRY_BLOCKED);
    EXPECT_EQ(s.panel.wait_frames, 1);
    auto calls = scene_test::recorded_calls();
    ASSERT_EQ(calls.size(), 1u + 136u + 18u + 5u + 20u + 1u + 4u);
    EXPECT_EQ(calls[0].name, "await_event");
    EXPECT_EQ(calls[1], call("rectangle", {11, -300, -250, 300, 250, 0}));
}

TEST(MainLoop, QuitEventOrQuitButtonEndsAfterOneMoreRedraw) {
    for (int by_button = 0; by_button < 2; ++by_button) {
        SceneRecords s{};
        scene_test::queue_event(KAVRO_PERIODIC, 0, 0, 0);
        if (by_button) {
            scene_test::queue_event(KAVRO_MOUSE, -250, 30, 0);
        } else {
            scene_test::queue_event(KAVRO_QUIT, 0, 0, 0);
        }
        scene_test::clear_calls();
        EXPECT_EQ(run_bridge(s, nullptr, nullptr, "", 1), 0);
        auto calls = scene_test::recorded_calls();
        EXPECT_EQ(scene_test::recorded_calls_named("await_event").size(), 2u);
        auto last_wait = std::find_if(calls.rbegin(), calls.rend(),
                                      [](const scene_test::RecordedCall& c) { return c.name == "await_event"; });
        EXPECT_EQ(std::distance(calls.rbegin(), last_wait), 1 + 136 + 18 + 5 + 2);
        EXPECT_EQ(calls.back(), call("close", {}));
        EXPECT_EQ(s.sky.sun_x, 243);
    }
}

TEST(MainLoop, RainClickChangesTheWelcomeInItsOwnTurn) {
    SceneRecords s{};
    start(s);
    click(s, -250, 83);
    for (int turn = 0; turn < 8; ++turn) {
        turn_with(s, KAVRO_KBD);
    }
    scene_test::clear_calls();
    click(s, -200, 75);
    EXPECT_EQ(s.rain.raining, 1);
    EXPECT_TRUE(drew_text("Welcome to HW-731..."));
    EXPECT_FALSE(drew_text("Welcome to HW-731... (kind of)"));
}

TEST(MainLoop, LessWithOneCarBringsANewCarInTheSameTurn) {
    SceneRecords s{};
    start(s);
    s.cars.x[0] = 0;
    click(s, -250, 108);
    for (int turn = 0; turn < 8; ++turn) {
        turn_with(s, KAVRO_KBD);
    }
    ASSERT_EQ(s.panel.menu_state, 1);
    click(s, -200, 86);
    EXPECT_EQ(s.panel.cars_wanted, 1);
    EXPECT_EQ(s.panel.cars_present, 1);
    EXPECT_EQ(s.cars.x[0], s.cars.lane[0] == LANE_LOWER ? 340 : -340);
}

TEST(MainLoop, BackClosesTheSubmenuAndClicksReturnAfterSevenTurns) {
    SceneRecords s{};
    start(s);
    click(s, -250, 108);
    for (int turn = 0; turn < 8; ++turn) {
        turn_with(s, KAVRO_KBD);
    }
    click(s, -200, 71);
    EXPECT_EQ(s.panel.closing, 1);
    for (int turn = 1; turn <= 7; ++turn) {
        EXPECT_EQ(turn_with(s, KAVRO_MOUSE, -250, 30), 0) << turn;
    }
    EXPECT_EQ(s.panel.closing, 0);
    EXPECT_EQ(s.panel.menu_state, 0);
    EXPECT_EQ(turn_with(s, KAVRO_MOUSE, -250, 30), 1);
}
