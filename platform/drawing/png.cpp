// libpng reports errors by longjmp, so every function that calls it after a
// setjmp holds no object with a destructor; buffers are made by the callers.
#include "platform/drawing/png.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/drawing/palette_map.h"

namespace platform {
namespace {

// Decoded pictures larger than this are refused rather than allocated.
constexpr std::size_t MAX_PIXELS = std::size_t{1} << 26;

[[noreturn]] void on_png_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_png_warning(png_structp, png_const_charp) {}

// The picture as palette indices, when it has at most 256 colours.
struct IndexedPicture {
    PaletteMap palette;
    std::vector<png_byte> indices;  // one a pixel, rows packed
};

bool index_picture(const Pixel* pixels, int width, int height, int stride, IndexedPicture& picture) {
    picture.indices.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const Pixel* source = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
        png_byte* out = picture.indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        // Drawn pictures come in runs of one colour: one look-up a run.
        for (int x = 0; x < width;) {
            const Pixel pixel = source[x];
            const int index = picture.palette.index_of(pixel);
            if (index < 0) return false;
            int end = x + 1;
            while (end < width && source[end] == pixel) ++end;
            std::memset(out + x, index, static_cast<std::size_t>(end - x));
            x = end;
        }
    }
    return true;
}

int palette_depth(int colours) { return colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8; }

// One row of indices packed at `depth` bits, leftmost pixel in the high bits.
void pack_row(const png_byte* indices, int width, int depth, png_bytep row) {
    if (depth == 4) {
        int x = 0;
        for (; x + 1 < width; x += 2) *row++ = static_cast<png_byte>(indices[x] << 4 | indices[x + 1]);
        if (x < width) *row = static_cast<png_byte>(indices[x] << 4);
        return;
    }
    const int per_byte = 8 / depth;
    for (int x = 0; x < width; x += per_byte) {
        unsigned byte = 0;
        for (int k = 0; k < per_byte; ++k) byte = byte << depth | (x + k < width ? indices[x + k] : 0u);
        *row++ = static_cast<png_byte>(byte);
    }
}

bool write_rows(png_structp png, png_infop info, std::FILE* file, const Pixel* pixels, int width, int height,
                int stride, const IndexedPicture* indexed, int level, png_bytep row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    if (level >= 0) png_set_compression_level(png, level);
    if (indexed) {
        const int colours = indexed->palette.size();
        const int depth = palette_depth(colours);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), depth,
                     PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_color entries[PaletteMap::MAX_COLOURS];
        for (int i = 0; i < colours; ++i) {
            const Pixel colour = indexed->palette.colour(i);
            entries[i] = png_color{static_cast<png_byte>(colour >> 16), static_cast<png_byte>(colour >> 8),
                                   static_cast<png_byte>(colour)};
        }
        png_set_PLTE(png, info, entries, colours);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            const png_byte* indices =
                indexed->indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
            if (depth == 8) {
                png_write_row(png, indices);
            } else {
                pack_row(indices, width, depth, row);
                png_write_row(png, row);
            }
        }
    } else {
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            const Pixel* source = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
            for (int x = 0; x < width; ++x) {
                const Pixel pixel = source[x];
                row[3 * x] = static_cast<png_byte>(pixel >> 16);
                row[3 * x + 1] = static_cast<png_byte>(pixel >> 8);
                row[3 * x + 2] = static_cast<png_byte>(pixel);
            }
            png_write_row(png, row);
        }
    }
    png_write_end(png, nullptr);
    return true;
}

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
};

// Reads the header and sets the transforms that turn every colour type and
// depth into 8-bit RGB.
bool read_header(png_structp png, png_infop info, std::FILE* file, PngHeader& header) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);
    const int color_type = png_get_color_type(png, info);
    const int bit_depth = png_get_bit_depth(png, info);
    if (color_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (color_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (bit_depth == 16) png_set_strip_16(png);
    if (color_type == PNG_COLOR_TYPE_GRAY || color_type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_strip_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    header.width = png_get_image_width(png, info);
    header.height = png_get_image_height(png, info);
    return png_get_rowbytes(png, info) == static_cast<std::size_t>(header.width) * 3;
}

// Interlaced pictures need all rows at once, so the whole RGB picture is read.
bool read_rows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

bool read_file(std::FILE* file, png_structp png, png_infop info, Bitmap& bitmap) {
    PngHeader header;
    if (!read_header(png, info, file, header)) return false;
    if (header.width == 0 || header.height == 0 || header.width > static_cast<png_uint_32>(INT32_MAX) ||
        header.height > static_cast<png_uint_32>(INT32_MAX) ||
        static_cast<std::size_t>(header.width) * header.height > MAX_PIXELS) {
        return false;
    }
    const std::size_t row_bytes = static_cast<std::size_t>(header.width) * 3;
    std::vector<png_byte> rgb(row_bytes * header.height);
    std::vector<png_bytep> rows(header.height);
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = rgb.data() + y * row_bytes;
    if (!read_rows(png, info, rows.data())) return false;

    Bitmap result(static_cast<int>(header.width), static_cast<int>(header.height));
    for (std::size_t i = 0; i < result.pixels.size(); ++i) {
        const png_byte* source = rgb.data() + 3 * i;
        result.pixels[i] = (Pixel{source[0]} << 16) | (Pixel{source[1]} << 8) | Pixel{source[2]};
    }
    bitmap = std::move(result);
    return true;
}

}  // namespace

bool write_png(const char* path, const Pixel* pixels, int width, int height, int stride, const PngSettings& settings) {
    if (!path || !pixels || width <= 0 || height <= 0 || stride < width) return false;
    auto indexed = std::make_unique<IndexedPicture>();
    const bool as_palette = settings.palette && index_picture(pixels, width, height, stride, *indexed);
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, on_png_error, on_png_warning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const int level = std::clamp(settings.compression_level, -1, 9);
    bool written = info && write_rows(png, info, file, pixels, width, height, stride,
                                      as_palette ? indexed.get() : nullptr, level, row.data());
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) written = false;
    if (!written) std::remove(path);
    return written;
}

bool write_png(const char* path, const Bitmap& bitmap, const PngSettings& settings) {
    if (bitmap.pixels.size() < static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height)) {
        return false;
    }
    return write_png(path, bitmap.pixels.data(), bitmap.width, bitmap.height, bitmap.width, settings);
}

bool read_png(const char* path, Bitmap& bitmap) {
    if (!path) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    png_byte signature[8] = {};
    bool read = std::fread(signature, 1, sizeof signature, file) == sizeof signature &&
                png_sig_cmp(signature, 0, sizeof signature) == 0;
    if (read) {
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_png_error, on_png_warning);
        png_infop info = png ? png_create_info_struct(png) : nullptr;
        read = info && read_file(file, png, info, bitmap);
        png_destroy_read_struct(&png, &info, nullptr);
    }
    std::fclose(file);
    return read;
}

}  // namespace platform
