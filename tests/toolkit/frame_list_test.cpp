// Tests of parsing which frames a replay writes.
#include "toolkit/frame_list.h"

#include <gtest/gtest.h>

using kavro::FrameList;

TEST(FrameList, ReadsListsRangesEveryAndAll) {
    FrameList list;
    std::string error;
    ASSERT_TRUE(list.parse("0,83,100-120", error));
    for (int frame : {0, 83, 100, 110, 120}) EXPECT_TRUE(list.contains(frame)) << frame;
    for (int frame : {1, 82, 99, 121}) EXPECT_FALSE(list.contains(frame)) << frame;
    ASSERT_TRUE(list.parse("every:25", error));
    EXPECT_TRUE(list.contains(0));
    EXPECT_TRUE(list.contains(50));
    EXPECT_FALSE(list.contains(51));
    ASSERT_TRUE(list.parse("all", error));
    EXPECT_TRUE(list.contains(123456));
}

TEST(FrameList, RefusesWhatItCannotRead) {
    FrameList list;
    for (const char* bad :
         {"", "x", "5-", "-5", "9-3", "1,,2", "every:0", "every:", "every:-2", "1.5", "99999999999999999999"}) {
        std::string error;
        EXPECT_FALSE(list.parse(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}
