// Tests of the background's shapes and of the day cycle.
#include "scene/scenery.h"

#include <gtest/gtest.h>

#include "scene_test_support.h"

using namespace bridge;
using scene_test::call;

namespace {

struct Crossing {
    int events;
    int sun_y;
    int sky_color;
};

// Runs the sun from wherever it is to its next wrap.
Crossing run_crossing(SkyState& sky) {
    Crossing crossing{0, sky.sun_y, sky.sky_color};
    int previous_x = sky.sun_x;
    do {
        previous_x = sky.sun_x;
        advance_sun(sky);
        ++crossing.events;
    } while (sky.sun_x < previous_x);
    return crossing;
}

}  // namespace

TEST(DayCycle, FirstStepMovesTheSunSevenLeft) {
    SkyState sky{250, 195, KAVRO_ICE_BLUE};
    advance_sun(sky);
    EXPECT_EQ(sky.sun_x, 243);
    EXPECT_EQ(sky.sun_y, 195);
    EXPECT_EQ(sky.sky_color, KAVRO_ICE_BLUE);
}

TEST(DayCycle, CrossingsFollowTheDayDuskNightCourse) {
    SkyState sky{250, 195, KAVRO_ICE_BLUE};
    for (int n = 1; n <= 20; ++n) {
        Crossing crossing = run_crossing(sky);
        Crossing expected = n == 1    ? Crossing{83, 195, KAVRO_ICE_BLUE}
                            : n <= 5  ? Crossing{95, 210 - 15 * n, KAVRO_ICE_BLUE}
                            : n <= 14 ? Crossing{96, 210 - 15 * n, KAVRO_MAGENTA}
                                      : Crossing{96, 0, KAVRO_BLACK};
        EXPECT_EQ(crossing.events, expected.events) << "crossing " << n;
        EXPECT_EQ(crossing.sun_y, expected.sun_y) << "crossing " << n;
        EXPECT_EQ(crossing.sky_color, expected.sky_color) << "crossing " << n;
    }
}

TEST(DayCycle, WrapsOnlyBelowMinus330) {
    SkyState at_limit{-323, 195, KAVRO_ICE_BLUE};
    advance_sun(at_limit);
    EXPECT_EQ(at_limit.sun_x, -330);
    SkyState past_limit{-324, 195, KAVRO_ICE_BLUE};
    advance_sun(past_limit);
    EXPECT_EQ(past_limit.sun_x, 331);
    EXPECT_EQ(past_limit.sun_y, 180);
}

TEST(DayCycle, DuskWrapComesBackFourPixelsFurtherRight) {
    SkyState sky{-324, 135, KAVRO_ICE_BLUE};
    advance_sun(sky);
    EXPECT_EQ(sky.sun_x, 335);
    EXPECT_EQ(sky.sun_y, 120);
    EXPECT_EQ(sky.sky_color, KAVRO_MAGENTA);
}

TEST(DayCycle, NightIsFinalAndTheSunSinksNoFurther) {
    SkyState sky{-324, 0, KAVRO_MAGENTA};
    advance_sun(sky);
    EXPECT_EQ(sky.sun_x, 335);
    EXPECT_EQ(sky.sun_y, 0);
    EXPECT_EQ(sky.sky_color, KAVRO_BLACK);
}

TEST(SceneryPrimitives, Draws136PrimitivesInPaintingOrder) {
    draw_scenery(-17, 42, KAVRO_MAGENTA);
    auto calls = scene_test::recorded_calls();
    ASSERT_EQ(calls.size(), 136u);
    std::vector<scene_test::RecordedCall> head = {
        call("rectangle", {6, -300, -250, 300, 250, 0}),  call("circle", {5, -17, 42, 20}),
        call("rectangle", {19, -300, -250, 300, -25, 0}), call("oval", {9, -150, -350, 400, -175, 0}),
        call("oval", {9, -600, -500, 150, -50, 0}),       call("rectangle", {0, -300, -147, 300, -127, 0}),
        call("rectangle", {0, -300, -118, 300, -98, 0}),
    };
    for (size_t i = 0; i < head.size(); ++i) {
        EXPECT_EQ(calls[i], head[i]);
    }
    for (int n = 0; n < 61; ++n) {
        int x = -300 + 10 * n;
        EXPECT_EQ(calls[7 + 2 * n], call("line", {5, x, -137, x + 4, -137, 1}));
        EXPECT_EQ(calls[8 + 2 * n], call("line", {5, x, -108, x + 4, -108, 1}));
    }
    std::vector<scene_test::RecordedCall> mountains = {
        call("triangle", {22, -300, -25, 300, -25, 0, 200, 0}),
        call("triangle", {1, -27, 180, 27, 180, 0, 200, 0}),
        call("triangle", {1, -27, 180, -9, 180, -18, 175, 0}),
        call("triangle", {1, -9, 180, 9, 180, 0, 175, 0}),
        call("triangle", {1, 9, 180, 27, 180, 18, 175, 0}),
        call("triangle", {23, -375, -25, 100, -25, -225, 125, 0}),
        call("triangle", {14, 0, -25, 600, -25, 275, 166, 0}),
    };
    for (size_t i = 0; i < mountains.size(); ++i) {
        EXPECT_EQ(calls[129 + i], mountains[i]);
    }
}
