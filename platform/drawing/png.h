// PNG files for pictures a person looks at and for reference pictures in tests.
#pragma once

#include "platform/base/bitmap.h"

namespace platform {

struct PngSettings {
    // A picture of at most 256 colours goes as a palette of 1, 2, 4 or 8 bits
    // a pixel; any other as 8-bit RGB.
    bool palette = true;
    // zlib's level, 0 to 9, or -1 for libpng's own; the default is the
    // benchmark's pick for drawn pictures (bench/picture_bench.cpp).
    int compression_level = 2;
};

// False when the file cannot be written.
bool write_png(const char* path, const Pixel* pixels, int width, int height, int stride,
               const PngSettings& settings = {});
bool write_png(const char* path, const Bitmap& bitmap, const PngSettings& settings = {});
// Reads any PNG libpng understands into 0x00RRGGBB pixels; false on failure.
bool read_png(const char* path, Bitmap& bitmap);

}  // namespace platform
