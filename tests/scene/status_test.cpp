// Tests of the status lines and the wait rule.
#include "scene/status.h"

#include <gtest/gtest.h>

#include "scene_test_support.h"

using namespace bridge;
using scene_test::call;

namespace {

const scene_test::RecordedCall HINT = call("text", {1, -285, -220, 14}, "Click a button to control the program.");
const scene_test::RecordedCall WAIT =
    call("text", {0, -15, -50, 14}, "Please wait until the road is safe and the car enters");
const scene_test::RecordedCall GIVE_UP =
    call("text", {0, -10, -60, 14}, "It's not gonna happen, please choose another option...");

}  // namespace

TEST(StatusLines, WelcomeChangesWithTheRain) {
    PanelState panel{};
    RainState rain{};
    draw_status(panel, rain);
    EXPECT_EQ(scene_test::recorded_calls(),
              (std::vector<scene_test::RecordedCall>{
                  HINT, call("text", {9, -150, 210, 28}, "Welcome to HW-731... (kind of)")}));
    scene_test::clear_calls();
    rain.raining = 1;
    draw_status(panel, rain);
    EXPECT_EQ(scene_test::recorded_calls(),
              (std::vector<scene_test::RecordedCall>{HINT, call("text", {9, -150, 210, 28}, "Welcome to HW-731..."),
                                                     call("text", {9, -85, 180, 28}, "that's more like it!")}));
}

TEST(WaitRule, WaitsFor100TurnsAndGivesUpInThe101st) {
    PanelState panel{};
    panel.cars_present = 2;
    panel.cars_wanted = 3;
    RainState rain{};
    for (int turn = 1; turn <= 100; ++turn) {
        panel.entry_blocked = ENTRY_BLOCKED;
        scene_test::clear_calls();
        draw_status(panel, rain);
        auto calls = scene_test::recorded_calls();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[2], WAIT);
        EXPECT_EQ(panel.waiting, 1);
        EXPECT_EQ(panel.wait_frames, turn);
        EXPECT_EQ(panel.cars_wanted, 3);
    }
    panel.entry_blocked = ENTRY_BLOCKED;
    scene_test::clear_calls();
    draw_status(panel, rain);
    auto calls = scene_test::recorded_calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[2], WAIT);
    EXPECT_EQ(calls[3], GIVE_UP);
    EXPECT_EQ(panel.gave_up, 1);
    EXPECT_EQ(panel.waiting, 0);
    EXPECT_EQ(panel.entry_blocked, 0);
    EXPECT_EQ(panel.cars_wanted, 2);

    scene_test::clear_calls();
    draw_status(panel, rain);
    calls = scene_test::recorded_calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2], GIVE_UP);
}

TEST(WaitRule, GivingUpCanLeaveNoCarWanted) {
    PanelState panel{};
    panel.cars_wanted = 1;
    panel.wait_frames = 101;
    RainState rain{};
    draw_status(panel, rain);
    EXPECT_EQ(panel.cars_wanted, 0);
}
