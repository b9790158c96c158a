// Tests of the control panel: hit-testing, commands, the sub-menu's slide and
// its labels.
#include "scene/control_panel.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "scene/random.h"
#include "scene_test_support.h"

using namespace bridge;
using scene_test::call;

namespace {

PanelState start_panel(int cars_wanted = 1) {
    PanelState panel{};
    panel.cars_wanted = cars_wanted;
    panel.gave_up = 1;
    panel.boat_x = BOAT_HOME_X;
    panel.boat_y = BOAT_HOME_Y;
    return panel;
}

int button_y(int i) { return 233 - 25 * i; }
int row_y(int button, int row) { return 233 - 25 * button - 15 * row - 7; }

// The panel's share of one turn's redraw.
void panel_turn(PanelState& panel) {
    draw_panel(panel);
    if (panel.closing != 0) {
        panel.closing = slide_submenu(SLIDE_CLOSE, panel);
    }
}

void open_fully(PanelState& panel, int button) {
    handle_button(-250, button_y(button), panel);
    for (int turn = 0; turn < 9; ++turn) {
        panel_turn(panel);
    }
}

// The sub-menu row boxes and labels a turn drew, past the nine boxes and captions.
std::vector<scene_test::RecordedCall> submenu_calls() {
    auto calls = scene_test::recorded_calls();
    return std::vector<scene_test::RecordedCall>(calls.begin() + std::min<size_t>(18, calls.size()), calls.end());
}

struct Picker {
    CarTable cars{};
    PanelState panel = start_panel(3);
    RainState rain{};

    int pick(int button, int row) {
        panel.menu_button = button;
        panel.item_count = button < 5 ? panel.cars_wanted : 1;
        panel.row_count = panel.item_count + 2;
        panel.menu_state = 1;
        panel.menu_width = 45;
        return handle_submenu_row(-200, row_y(button, row), cars, panel, rain);
    }
};

}  // namespace

TEST(PanelHitTest, BoxBordersAreIgnoredAndAcceptedClicksClearTheWait) {
    PanelState panel = start_panel();
    panel.wait_frames = 40;
    for (auto [x, y] : {std::pair{-295, 100}, {-220, 100}, {-250, 20}, {-250, 245}}) {
        EXPECT_EQ(panel_hit_test(x, y, panel), HIT_NOTHING) << x << "," << y;
    }
    EXPECT_EQ(panel.wait_frames, 40);
    EXPECT_EQ(panel.gave_up, 1);
    EXPECT_EQ(panel_hit_test(-294, 244, panel), HIT_BUTTON);
    EXPECT_EQ(panel.wait_frames, 0);
    EXPECT_EQ(panel.gave_up, 0);
}

TEST(PanelHitTest, SubmenuAcceptsClicksOnlyInsideOnceLabelled) {
    PanelState panel = start_panel();
    panel.menu_button = 1;
    panel.row_count = 3;
    panel.menu_state = 2;
    EXPECT_EQ(panel_hit_test(-200, 200, panel), HIT_NOTHING);
    panel.menu_state = 1;
    EXPECT_EQ(panel_hit_test(-200, 200, panel), HIT_SUBMENU);
    for (auto [x, y] : {std::pair{-220, 200}, {-180, 200}, {-200, 208}, {-200, 163}}) {
        EXPECT_EQ(panel_hit_test(x, y, panel), HIT_NOTHING) << x << "," << y;
    }
}

TEST(PanelHitTest, EveryClickIsIgnoredWhileClosingOrWaiting) {
    PanelState panel = start_panel();
    panel.closing = 1;
    EXPECT_EQ(panel_hit_test(-250, button_y(QUIT_BUTTON), panel), HIT_NOTHING);
    panel.closing = 0;
    panel.waiting = 1;
    EXPECT_EQ(panel_hit_test(-250, button_y(0), panel), HIT_NOTHING);
}

TEST(MainButton, ClickOnTheLineBetweenBoxesBelongsToTheLowerOne) {
    PanelState panel = start_panel(4);
    EXPECT_EQ(handle_button(-250, 220, panel), 0);
    EXPECT_EQ(panel.menu_button, 1);
    EXPECT_EQ(panel.item_count, 4);
    EXPECT_EQ(panel.row_count, 6);
    handle_button(-250, button_y(6), panel);
    EXPECT_EQ(panel.menu_button, 6);
    EXPECT_EQ(panel.item_count, 1);
}

TEST(MainButton, QuitReturnsOneAndChangesNothing) {
    PanelState panel = start_panel();
    EXPECT_EQ(handle_button(-250, button_y(QUIT_BUTTON), panel), 1);
    EXPECT_EQ(panel.menu_state, 0);
    EXPECT_EQ(panel.menu_width, 0);
}

TEST(BadNews, HandlersOutsideTheirPreconditionsDrawItAndChangeNothing) {
    Picker picker;
    EXPECT_EQ(handle_button(-300, 100, picker.panel), 0);
    EXPECT_EQ(handle_button(-250, 19, picker.panel), 0);
    EXPECT_EQ(handle_submenu_row(-230, 200, picker.cars, picker.panel, picker.rain), 0);
    picker.panel.menu_button = QUIT_BUTTON;
    picker.panel.item_count = 1;
    picker.panel.row_count = 3;
    EXPECT_EQ(handle_submenu_row(-200, row_y(QUIT_BUTTON, 2), picker.cars, picker.panel, picker.rain), 0);
    EXPECT_EQ(picker.panel.menu_width, 0);
    auto news = call("text", {KAVRO_RED, 0, 0, 16}, "BAAAADDD NEWS!");
    EXPECT_EQ(scene_test::recorded_calls(), std::vector<scene_test::RecordedCall>(4, news));
}

TEST(PanelDrawing, NineOutlinedBoxesThenTheirCaptions) {
    PanelState panel = start_panel();
    draw_panel(panel);
    auto calls = scene_test::recorded_calls();
    ASSERT_EQ(calls.size(), 18u);
    const char* captions[] = {"Go", "Stop", "Faster", "Slower", "New Color", "How Many?", "Rain!!", "VL Crew", "Quit"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(calls[i], call("rectangle", {9, -295, 245 - 25 * i, -220, 220 - 25 * i, 1}));
        int color = i == 0 ? KAVRO_FOREST_GREEN : i == 1 ? KAVRO_RED : KAVRO_NAVY_BLUE;
        EXPECT_EQ(calls[9 + i], call("text", {color, -285, 227 - 25 * i, 12}, captions[i]));
    }
}

TEST(SubmenuSlide, OpensFiveWiderPerTurnAndIsLabelledFromWidth35) {
    PanelState panel = start_panel(2);
    handle_button(-250, button_y(0), panel);
    const int drawn_right[] = {-215, -210, -205, -200, -195, -190, -185, -180, -180};
    for (int turn = 0; turn < 9; ++turn) {
        scene_test::clear_calls();
        panel_turn(panel);
        auto calls = submenu_calls();
        ASSERT_GE(calls.size(), 4u);
        EXPECT_EQ(calls[0], call("rectangle", {9, -220, 233, drawn_right[turn], 218, 1})) << "turn " << turn;
        EXPECT_EQ(calls.size(), turn < 5 ? 4u : 8u) << "turn " << turn;
        EXPECT_EQ(panel.menu_state, turn < 5 ? 2 : 1);
    }
    EXPECT_EQ(panel.menu_width, 45);
}

TEST(SubmenuSlide, BackClosesOverEightTurnsWithoutLabels) {
    Picker picker;
    open_fully(picker.panel, 3);
    picker.panel.closing = handle_submenu_row(-200, row_y(3, 4), picker.cars, picker.panel, picker.rain);
    ASSERT_EQ(picker.panel.closing, 1);
    for (int turn = 0; turn < 8; ++turn) {
        scene_test::clear_calls();
        panel_turn(picker.panel);
        auto calls = submenu_calls();
        ASSERT_EQ(calls.size(), 5u);
        EXPECT_EQ(calls[0], call("rectangle", {9, -220, 158, -180 - 5 * turn, 143, 1})) << "turn " << turn;
        EXPECT_EQ(picker.panel.closing, turn < 7 ? 1 : 0);
    }
    EXPECT_EQ(picker.panel.menu_state, 0);
}

TEST(SubmenuSlide, ClicksAreIgnoredForSevenTurnsAfterBack) {
    Picker picker;
    open_fully(picker.panel, 5);
    picker.panel.closing = handle_submenu_row(-200, row_y(5, 2), picker.cars, picker.panel, picker.rain);
    panel_turn(picker.panel);
    for (int turn = 1; turn <= 7; ++turn) {
        EXPECT_EQ(panel_hit_test(-250, button_y(QUIT_BUTTON), picker.panel), HIT_NOTHING) << turn;
        panel_turn(picker.panel);
    }
    EXPECT_EQ(panel_hit_test(-250, button_y(QUIT_BUTTON), picker.panel), HIT_BUTTON);
}

TEST(SubmenuSlide, SwitchingButtonsShowsTheNewSubmenuCompleteAtOnce) {
    PanelState panel = start_panel();
    open_fully(panel, 0);
    scene_test::clear_calls();
    handle_button(-250, button_y(6), panel);
    EXPECT_EQ(scene_test::recorded_calls(),
              (std::vector<scene_test::RecordedCall>{
                  call("rectangle", {9, -220, 83, -180, 68, 1}), call("rectangle", {9, -220, 68, -180, 53, 1}),
                  call("rectangle", {9, -220, 53, -180, 38, 1}), call("text", {9, -214, 66, 10}, "Rain"),
                  call("text", {9, -214, 51, 10}, "Stop"), call("text", {9, -214, 36, 10}, "Back")}));
}

TEST(SubmenuLabels, CarRowsThenAllAndBackAndTheCrewLabelsOwnPlaces) {
    PanelState panel = start_panel(3);
    open_fully(panel, 2);
    scene_test::clear_calls();
    panel_turn(panel);
    auto texts = scene_test::recorded_calls_named("text");
    ASSERT_EQ(texts.size(), 14u);
    const char* labels[] = {"Car 1", "Car 2", "Car 3", "All", "Back"};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(texts[9 + r], call("text", {9, -214, 166 - 15 * r, 10}, labels[r]));
    }
    open_fully(panel, 7);
    scene_test::clear_calls();
    panel_turn(panel);
    texts = scene_test::recorded_calls_named("text");
    ASSERT_EQ(texts.size(), 12u);
    EXPECT_EQ(texts[9], call("text", {9, -217, 44, 9}, "Practice"));
    EXPECT_EQ(texts[10], call("text", {9, -219, 29, 9}, "Go Home"));
    EXPECT_EQ(texts[11], call("text", {9, -214, 12, 10}, "Back"));
}

TEST(SubmenuLabels, TwentyCarsGiveTwentyTwoRowsEndingAtMinus197UnderButton4) {
    PanelState panel = start_panel(20);
    open_fully(panel, 4);
    scene_test::clear_calls();
    panel_turn(panel);
    auto boxes = scene_test::recorded_calls_named("rectangle");
    ASSERT_EQ(boxes.size(), 9u + 22u);
    EXPECT_EQ(boxes.back(), call("rectangle", {9, -220, -182, -180, -197, 1}));
}

TEST(CarCommands, GoRestoresTheParkedSpeedOrDrawsOneFrom1To15) {
    Picker picker;
    picker.cars.parked_speed[0] = 9;
    picker.pick(0, 0);
    EXPECT_EQ(picker.cars.speed[0], 9);
    picker.cars.parked_speed[0] = 0;
    picker.cars.parked_speed[2] = 0;
    picker.cars.parked_speed[1] = 5;
    seed_generator(77);
    int first = random_number() % 15 + 1;
    int second = random_number() % 15 + 1;
    seed_generator(77);
    picker.pick(0, 3);
    EXPECT_EQ(picker.cars.speed[0], first);
    EXPECT_EQ(picker.cars.speed[1], 5);
    EXPECT_EQ(picker.cars.speed[2], second);
    EXPECT_EQ(picker.panel.picked_row, 3);
}

TEST(CarCommands, StopTwiceLeavesParkedSpeedZero) {
    Picker picker;
    picker.cars.speed[1] = 12;
    picker.pick(1, 1);
    EXPECT_EQ(picker.cars.speed[1], 0);
    EXPECT_EQ(picker.cars.parked_speed[1], 12);
    picker.pick(1, 3);
    EXPECT_EQ(picker.cars.parked_speed[1], 0);
}

TEST(CarCommands, FasterAndSlowerStayWithinTheirLimits) {
    Picker picker;
    int start[] = {15, 0, 1};
    std::copy(start, start + 3, picker.cars.speed);
    picker.cars.parked_speed[0] = 8;
    picker.pick(2, 0);
    EXPECT_EQ(picker.cars.speed[0], 15);
    picker.pick(3, 2);
    picker.pick(3, 2);
    EXPECT_EQ(picker.cars.speed[2], 0);
    picker.pick(3, 3);
    EXPECT_EQ(picker.cars.speed[0], 14);
    EXPECT_EQ(picker.cars.speed[1], 1);
    EXPECT_EQ(picker.cars.speed[2], 1);
    EXPECT_EQ(picker.cars.parked_speed[0], 8);
}

TEST(CarCommands, NewColorStepsOneSlotAndRandomisesAll) {
    Picker picker;
    picker.cars.color[2] = 23;
    picker.pick(4, 2);
    EXPECT_EQ(picker.cars.color[2], 0);
    seed_generator(5);
    int expected[] = {random_number() % 24, random_number() % 24, random_number() % 24};
    seed_generator(5);
    picker.pick(4, 3);
    EXPECT_EQ(std::vector<int>(picker.cars.color, picker.cars.color + 3), std::vector<int>(expected, expected + 3));
}

TEST(FixedCommands, MoreAndLessHoldCarsWantedWithin1To20) {
    Picker picker;
    picker.panel.cars_wanted = 20;
    picker.pick(5, 0);
    EXPECT_EQ(picker.panel.cars_wanted, 20);
    picker.panel.cars_wanted = 1;
    picker.panel.cars_present = 1;
    picker.pick(5, 1);
    EXPECT_EQ(picker.panel.cars_wanted, 1);
    EXPECT_EQ(picker.panel.cars_present, 0);
    picker.pick(5, 1);
    EXPECT_EQ(picker.panel.cars_present, 0);
}

TEST(FixedCommands, RainStopKeepsTheDropsAndGoHomeResetsTheBoat) {
    Picker picker;
    picker.pick(6, 0);
    EXPECT_EQ(picker.rain.raining, 1);
    picker.rain.drop_count = picker.rain.drop_target = 300;
    picker.pick(6, 1);
    EXPECT_EQ(picker.rain.raining, 0);
    EXPECT_EQ(picker.rain.drop_target, 0);
    EXPECT_EQ(picker.rain.drop_count, 300);
    picker.pick(7, 0);
    EXPECT_EQ(picker.panel.crew_out, 1);
    picker.panel.boat_x = 17;
    picker.panel.boat_y = -200;
    picker.pick(7, 1);
    EXPECT_EQ(picker.panel.crew_out, 0);
    EXPECT_EQ(picker.panel.boat_x, 335);
    EXPECT_EQ(picker.panel.boat_y, -230);
}

TEST(SubmenuRow, BackUnderEveryButtonStartsTheClosingAtWidth40) {
    for (int button = 0; button <= 7; ++button) {
        Picker picker;
        int back_row = button < 5 ? 4 : 2;
        EXPECT_EQ(picker.pick(button, back_row - 1), 0);
        EXPECT_EQ(picker.pick(button, back_row), 1) << button;
        EXPECT_EQ(picker.panel.menu_width, 40);
        EXPECT_EQ(picker.pick(button, back_row + 1), 0);
        EXPECT_EQ(picker.panel.menu_width, 45);
    }
}
