// PNG files for pictures a person looks at and for reference pictures in tests.
#pragma once

#include "platform/bitmap.h"

namespace platform {

// Writes 8-bit RGB. False when the file cannot be written.
bool write_png(const char* path, const Pixel* pixels, int width, int height, int stride);
bool write_png(const char* path, const Bitmap& bitmap);
// Reads any PNG libpng understands into 0x00RRGGBB pixels; false on failure.
bool read_png(const char* path, Bitmap& bitmap);

}  // namespace platform
