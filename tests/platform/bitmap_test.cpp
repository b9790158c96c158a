// Tests of the two colour encodings and the conversions between them.
#include "platform/base/bitmap.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace platform {
namespace {

static_assert(!std::is_convertible_v<ColorWord, Pixel> && !std::is_convertible_v<Pixel, ColorWord>,
              "a colour word and a pixel must not mix without a conversion");

TEST(ColorWord, KeepsRedInTheLowByteAndAPixelKeepsItHigh) {
    constexpr ColorWord orange = color_word(255, 102, 0);
    EXPECT_EQ(word_bits(orange), 0x0066FFu);
    EXPECT_EQ(pixel_from_color(orange), 0xFF6600u);
    EXPECT_EQ(color_from_pixel(0xFF6600u), orange);
    EXPECT_EQ(red_of(orange), 255);
    EXPECT_EQ(green_of(orange), 102);
    EXPECT_EQ(blue_of(orange), 0);
}

TEST(ColorWord, BitmapReadsItsPixelsAsColourWords) {
    Bitmap bitmap(2, 1, pixel_from_color(color_word(1, 2, 3)));
    EXPECT_EQ(bitmap.get(1, 0), color_word(1, 2, 3));
    EXPECT_EQ(bitmap.get(2, 0), color_word(0, 0, 0));
}

}  // namespace
}  // namespace platform
