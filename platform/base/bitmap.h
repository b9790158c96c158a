// Pixel storage shared by the rasterizer, fonts, drawing contexts and backends.
// Colour words keep red in the low byte, as drawing calls take them; pixels in memory
// are 0x00RRGGBB so a backend can hand them to the screen without conversion.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// 0x00BBGGRR: red in the low byte, then green, then blue, top byte 0. A type of
// its own so that it cannot be mixed up with a Pixel, whose red and blue lie the
// other way round; convert with the functions below.
enum class ColorWord : std::uint32_t {};
// 0x00RRGGBB as stored in a Bitmap.
using Pixel = std::uint32_t;

// Returned for a colour that could not be read; never a colour, as its top byte is set.
constexpr ColorWord INVALID_COLOR{0xFFFFFFFF};

constexpr ColorWord color_word(int red, int green, int blue) {
    return ColorWord{static_cast<std::uint32_t>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16))};
}
constexpr std::uint32_t word_bits(ColorWord c) { return static_cast<std::uint32_t>(c); }
constexpr int red_of(ColorWord c) { return static_cast<int>(word_bits(c) & 0xFF); }
constexpr int green_of(ColorWord c) { return static_cast<int>((word_bits(c) >> 8) & 0xFF); }
constexpr int blue_of(ColorWord c) { return static_cast<int>((word_bits(c) >> 16) & 0xFF); }

constexpr Pixel pixel_from_color(ColorWord c) {
    const std::uint32_t w = word_bits(c);
    return ((w & 0xFF) << 16) | (w & 0xFF00) | ((w >> 16) & 0xFF);
}
constexpr ColorWord color_from_pixel(Pixel p) {
    return ColorWord{((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16)};
}

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

// Right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
};

// Thickness of a frame on each side.
struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // width * height, rows top to bottom

    Bitmap() = default;
    Bitmap(int w, int h, Pixel fill = 0)
        : width(w < 0 ? 0 : w),
          height(h < 0 ? 0 : h),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}
    Pixel* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
    const Pixel* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width; }
    // Colour word of a pixel; 0 outside the bitmap.
    ColorWord get(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return ColorWord{0};
        return color_from_pixel(row(y)[x]);
    }
};

// Where a primitive may write: a pixel buffer and the clip rectangle within it
// (already intersected with the buffer's bounds).
struct PixelTarget {
    Pixel* pixels = nullptr;
    int stride = 0;  // in pixels
    Rect clip;
};

inline PixelTarget whole_target(Bitmap& bitmap) {
    return PixelTarget{bitmap.pixels.data(), bitmap.width, Rect{0, 0, bitmap.width, bitmap.height}};
}

}  // namespace platform
