// Tests of the display scale: the screen's density and the KAVRO_SCALE override.
#include "platform/drawing/display_scale.h"

#include <gtest/gtest.h>

using platform::choose_display_scale;
using platform::Size;

namespace {

const Size ROOM = platform::SCALED_WINDOW_ROOM;

TEST(DisplayScale, FollowsTheDensityAndNeverOutgrowsTheScreen) {
    EXPECT_EQ(choose_display_scale(nullptr, 96, Size{1920, 1080}, ROOM), 1);
    EXPECT_EQ(choose_display_scale(nullptr, 0, Size{3840, 2160}, ROOM), 2) << "a 4K screen that says no density";
    EXPECT_EQ(choose_display_scale(nullptr, 288, Size{3840, 2160}, ROOM), 3);
    EXPECT_EQ(choose_display_scale(nullptr, 480, Size{3840, 2160}, ROOM), 3) << "at most 3";
    EXPECT_EQ(choose_display_scale(nullptr, 192, Size{1280, 800}, ROOM), 1) << "a doubled window would not fit";
    EXPECT_EQ(choose_display_scale("", 192, Size{2560, 1600}, ROOM), 2);
}

TEST(DisplayScale, KavroScaleOverridesAndNonsenseFallsBackWithOneLine) {
    EXPECT_EQ(choose_display_scale("2", 96, Size{1024, 768}, ROOM), 2) << "asked for, even where it does not fit";
    EXPECT_EQ(choose_display_scale("1", 288, Size{3840, 2160}, ROOM), 1);
    for (const char* bad : {"0", "4", "7", "abc", "22", "-1", "2x"}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(choose_display_scale(bad, 96, Size{1920, 1080}, ROOM), 1) << bad;
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(std::string("KAVRO_SCALE=") + bad + " is not 1, 2 or 3"), std::string::npos) << said;
    }
}

}  // namespace
