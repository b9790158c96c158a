// Animated GIF output, written frame by frame and exact: colours get palette
// indices in the order they first appear (only a picture of more than 256
// colours takes the nearest), and each frame after the first holds only the
// rectangle that changed, its unchanged pixels free to be transparent.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/bitmap.h"
#include "platform/drawing/palette_map.h"

namespace kavro {

class GifWriter {
public:
    GifWriter() = default;
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;
    ~GifWriter();

    // False when the file cannot be created.
    bool open(const std::string& path, int width, int height, int centiseconds_per_frame);
    // A frame of another size is cut or padded to the first one's.
    bool add_frame(const platform::Bitmap& frame);
    // Writes the file; false when a write failed. True when nothing is open.
    bool close();
    int frames() const { return frames_; }

private:
    void encode_rectangle(const platform::Bitmap& frame, platform::Rect area, bool first);
    void put_frame_header(platform::Rect area, int transparent);
    void encode_codes(std::size_t count, int min_code_size, int transparent);

    std::FILE* file_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int delay_ = 10;
    int frames_ = 0;
    int highest_index_ = 0;  // the palette written covers every index used
    platform::PaletteMap palette_;
    std::vector<platform::Pixel> shown_;   // the picture a viewer shows after the last frame
    std::vector<std::uint8_t> indices_;    // the rectangle's palette indices
    std::vector<std::uint8_t> unchanged_;  // 1 where the rectangle shows what was there
    std::vector<std::uint16_t> children_;  // LZW string table: code and index to longer code
    std::vector<std::uint8_t> body_;       // the frames, written behind the palette at close
};

}  // namespace kavro
