// Tests of PNG reading and writing, and of the failures they report.
#include "platform/drawing/png.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace {

using platform::Bitmap;
using platform::Pixel;

Bitmap noisy_bitmap(int width, int height) {
    Bitmap bitmap(width, height);
    std::uint32_t state = 12345;
    for (Pixel& pixel : bitmap.pixels) {
        state = state * 1664525u + 1013904223u;
        pixel = state >> 8;
    }
    return bitmap;
}

void write_bytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<unsigned char> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bitmap read_embedded(const std::string& name, const std::vector<unsigned char>& bytes) {
    const std::string path = test_support::output_path(name);
    write_bytes(path, bytes);
    Bitmap bitmap;
    EXPECT_TRUE(platform::read_png(path.c_str(), bitmap));
    return bitmap;
}

TEST(PngRoundTrip, ReadsBackExactlyThePixelsWritten) {
    const Bitmap written = noisy_bitmap(37, 23);
    const std::string path = test_support::output_path("png_round_trip.png");
    ASSERT_TRUE(platform::write_png(path.c_str(), written));
    Bitmap read;
    ASSERT_TRUE(platform::read_png(path.c_str(), read));
    EXPECT_EQ(read.width, 37);
    EXPECT_EQ(read.height, 23);
    EXPECT_EQ(read.pixels, written.pixels);
}

Bitmap picture_of_colours(int width, int height, int colours) {
    Bitmap bitmap(width, height);
    for (std::size_t i = 0; i < bitmap.pixels.size(); ++i)
        bitmap.pixels[i] = (static_cast<Pixel>((i * 7 + i / 5) % static_cast<std::size_t>(colours)) * 0x9E3779B1u) >> 8;
    return bitmap;
}

// IHDR's bit depth and colour type, at their fixed places in the file.
std::pair<int, int> depth_and_colour_type(const std::string& path) {
    const std::vector<unsigned char> bytes = read_bytes(path);
    if (bytes.size() < 26) return {0, 0};
    return {bytes[24], bytes[25]};
}

TEST(PngRoundTrip, PicturesOfFewColoursGoAsTheSmallestPaletteAndReadBackExactly) {
    const std::pair<int, int> cases[] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 4}, {16, 4}, {17, 8}, {256, 8}};
    for (const auto& [colours, depth] : cases) {
        // Odd widths end rows in a partly filled byte.
        const Bitmap written = picture_of_colours(37, 9, colours);
        const std::string path = test_support::output_path("png_palette_" + std::to_string(colours) + ".png");
        ASSERT_TRUE(platform::write_png(path.c_str(), written));
        EXPECT_EQ(depth_and_colour_type(path), std::make_pair(depth, 3)) << colours << " colours";
        Bitmap read;
        ASSERT_TRUE(platform::read_png(path.c_str(), read));
        EXPECT_EQ(read.pixels, written.pixels) << colours << " colours";
    }
}

TEST(PngRoundTrip, MoreThan256ColoursOrNoPaletteAskedGoAsRgb) {
    const Bitmap many = picture_of_colours(40, 20, 257);
    const Bitmap few = picture_of_colours(40, 20, 3);
    const std::string many_path = test_support::output_path("png_257_colours.png");
    const std::string few_path = test_support::output_path("png_rgb_asked.png");
    ASSERT_TRUE(platform::write_png(many_path.c_str(), many));
    platform::PngSettings rgb;
    rgb.palette = false;
    rgb.compression_level = -1;
    ASSERT_TRUE(platform::write_png(few_path.c_str(), few, rgb));
    EXPECT_EQ(depth_and_colour_type(many_path), std::make_pair(8, 2));
    EXPECT_EQ(depth_and_colour_type(few_path), std::make_pair(8, 2));
    Bitmap read;
    ASSERT_TRUE(platform::read_png(many_path.c_str(), read));
    EXPECT_EQ(read.pixels, many.pixels);
    ASSERT_TRUE(platform::read_png(few_path.c_str(), read));
    EXPECT_EQ(read.pixels, few.pixels);
}

TEST(PngRoundTrip, WritesOnlyTheColumnsOfAStridedRegion) {
    const Bitmap source = noisy_bitmap(10, 4);
    const std::string path = test_support::output_path("png_strided.png");
    ASSERT_TRUE(platform::write_png(path.c_str(), source.row(1) + 2, 5, 3, source.width));
    Bitmap read;
    ASSERT_TRUE(platform::read_png(path.c_str(), read));
    ASSERT_EQ(read.width, 5);
    ASSERT_EQ(read.height, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(read.row(y)[x], source.row(y + 1)[x + 2]) << x << "," << y;
    }
}

TEST(PngRead, ConvertsPaletteGrayAndSixteenBitAlphaToRgb) {
    const Bitmap palette =
        read_embedded("png_palette.png",
                      {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
                       0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x02, 0x03, 0x00, 0x00, 0x00, 0x0F, 0xD8, 0xE5,
                       0xB7, 0x00, 0x00, 0x00, 0x0C, 0x50, 0x4C, 0x54, 0x45, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00,
                       0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFB, 0x00, 0x60, 0xF6, 0x00, 0x00, 0x00, 0x0C, 0x49, 0x44, 0x41,
                       0x54, 0x78, 0xDA, 0x63, 0x10, 0x60, 0xD8, 0x00, 0x00, 0x00, 0xE4, 0x00, 0xC1, 0x19, 0x55, 0x3B,
                       0xFB, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82});
    EXPECT_EQ(palette.pixels, (std::vector<Pixel>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));

    const Bitmap gray = read_embedded(
        "png_gray_1bit.png",
        {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00,
         0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0xDC, 0x59, 0x42, 0x27, 0x00,
         0x00, 0x00, 0x0A, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0x70, 0x00, 0x00, 0x00, 0x42, 0x00, 0x41,
         0x84, 0xBF, 0x8E, 0x62, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82});
    EXPECT_EQ(gray.pixels, (std::vector<Pixel>{0x000000, 0xFFFFFF}));

    // 16-bit channels keep their high byte; alpha is dropped.
    const Bitmap rgba = read_embedded(
        "png_rgba_16bit.png", {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
                               0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x10, 0x06, 0x00, 0x00, 0x00, 0x4F,
                               0x85, 0x18, 0xCA, 0x00, 0x00, 0x00, 0x11, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0x10,
                               0x32, 0x59, 0x7D, 0xF6, 0x3F, 0x03, 0x03, 0x03, 0x00, 0x0E, 0x04, 0x02, 0xBE, 0x79, 0xA7,
                               0x4B, 0x92, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82});
    EXPECT_EQ(rgba.pixels, (std::vector<Pixel>{0x12ABFF}));
}

TEST(PngFailure, WritingIntoAMissingDirectoryReturnsFalse) {
    const Bitmap bitmap(4, 4);
    const std::string path = test_support::output_path("no_such_directory/picture.png");
    EXPECT_FALSE(platform::write_png(path.c_str(), bitmap));
}

TEST(PngFailure, WritingAnEmptyOrInconsistentPictureReturnsFalse) {
    const std::string path = test_support::output_path("png_invalid.png");
    const Bitmap bitmap(4, 4);
    EXPECT_FALSE(platform::write_png(path.c_str(), Bitmap()));
    EXPECT_FALSE(platform::write_png(path.c_str(), bitmap.pixels.data(), 4, 4, 3));
    EXPECT_FALSE(platform::write_png(path.c_str(), nullptr, 4, 4, 4));
    EXPECT_FALSE(platform::write_png(nullptr, bitmap));
}

TEST(PngFailure, ReadingAMissingFileOrANonPngReturnsFalseAndKeepsTheBitmap) {
    Bitmap bitmap(3, 2, 0x123456);
    const std::string text_path = test_support::output_path("not_a_picture.png");
    write_bytes(text_path, {'h', 'e', 'l', 'l', 'o', ',', ' ', 'n', 'o', 't', ' ', 'a', ' ', 'P', 'N', 'G'});
    EXPECT_FALSE(platform::read_png(test_support::output_path("no_such_file.png").c_str(), bitmap));
    EXPECT_FALSE(platform::read_png(text_path.c_str(), bitmap));
    EXPECT_FALSE(platform::read_png(test_support::output_dir().c_str(), bitmap));
    EXPECT_FALSE(platform::read_png(nullptr, bitmap));
    EXPECT_EQ(bitmap.width, 3);
    EXPECT_EQ(bitmap.pixels, std::vector<Pixel>(6, 0x123456));
}

TEST(PngFailure, ReadingATruncatedOrCorruptPngReturnsFalse) {
    const std::string whole_path = test_support::output_path("png_whole.png");
    ASSERT_TRUE(platform::write_png(whole_path.c_str(), noisy_bitmap(64, 64)));
    std::vector<unsigned char> bytes = read_bytes(whole_path);
    ASSERT_GT(bytes.size(), 100u);

    const std::string broken_path = test_support::output_path("png_broken.png");
    Bitmap bitmap;
    write_bytes(broken_path, std::vector<unsigned char>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    EXPECT_FALSE(platform::read_png(broken_path.c_str(), bitmap));
    write_bytes(broken_path, std::vector<unsigned char>(bytes.begin(), bytes.begin() + 20));
    EXPECT_FALSE(platform::read_png(broken_path.c_str(), bitmap));
    bytes[bytes.size() / 2] ^= 0xFF;
    write_bytes(broken_path, bytes);
    EXPECT_FALSE(platform::read_png(broken_path.c_str(), bitmap));
    EXPECT_EQ(bitmap.width, 0);
}

}  // namespace
