// Tests of the scene's random numbers and their reseeding.
#include "scene/random.h"

#include <gtest/gtest.h>

#include "scene_test_support.h"

using namespace bridge;

TEST(RandomNumber, FollowsTheClassicSequenceFromSeedOne) {
    seed_generator(1);
    for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}) {
        EXPECT_EQ(random_number(), expected);
    }
}

TEST(RandomNumber, StaysWithinZeroTo32767WhateverTheSeed) {
    for (std::uint32_t seed : {0u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        seed_generator(seed);
        for (int i = 0; i < 10000; ++i) {
            int r = random_number();
            ASSERT_GE(r, 0);
            ASSERT_LE(r, RANDOM_MAX);
        }
    }
}

TEST(SeedRandom, RestartsTheSequenceOfTheCurrentSecond) {
    int first = 0;
    int again = 0;
    ASSERT_TRUE(scene_test::within_one_second([&] {
        seed_random();
        first = random_number();
        random_number();
        seed_generator(static_cast<std::uint32_t>(KAVRO_time()));
        again = random_number();
    }));
    EXPECT_EQ(first, again);
}
