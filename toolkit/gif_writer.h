// Animated GIF output, written frame by frame. The pictures hold only the
// colours that were drawn, so a small fixed palette needs no colour reduction;
// any other colour takes the nearest palette entry.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/bitmap.h"

struct GifFileType;

namespace kavro {

class GifWriter {
public:
    GifWriter() = default;
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;
    ~GifWriter();

    // Up to 256 palette colours; false when the file cannot be created.
    bool open(const std::string& path, int width, int height, const std::vector<platform::Pixel>& palette,
              int centiseconds_per_frame);
    bool add_frame(const platform::Bitmap& frame);
    // False when any write failed.
    bool close();
    int frames() const { return frames_; }

private:
    int index_of(platform::Pixel pixel);

    GifFileType* gif_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int delay_ = 10;
    int frames_ = 0;
    bool ok_ = true;
    std::vector<platform::Pixel> palette_;
    std::unordered_map<platform::Pixel, int> index_;
};

}  // namespace kavro
