#include "toolkit/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>

namespace kavro {

GifWriter::~GifWriter() { close(); }

bool GifWriter::open(const std::string& path, int width, int height, const std::vector<platform::Pixel>& palette,
                     int centiseconds_per_frame) {
    close();
    ok_ = true;
    frames_ = 0;
    width_ = width;
    height_ = height;
    delay_ = centiseconds_per_frame;
    palette_.assign(palette.begin(), palette.begin() + static_cast<long>(std::min<std::size_t>(palette.size(), 256)));
    if (palette_.empty()) palette_.push_back(0);
    index_.clear();
    for (std::size_t i = 0; i < palette_.size(); ++i) index_.emplace(palette_[i] & 0xFFFFFF, static_cast<int>(i));
    int size = 2;
    int depth = 1;
    while (size < static_cast<int>(palette_.size())) size *= 2, ++depth;
    ColorMapObject* map = GifMakeMapObject(size, nullptr);
    if (!map) return false;
    for (int i = 0; i < size; ++i) {
        platform::Pixel p = i < static_cast<int>(palette_.size()) ? palette_[static_cast<std::size_t>(i)] : 0;
        map->Colors[i] = GifColorType{static_cast<GifByteType>((p >> 16) & 0xFF),
                                      static_cast<GifByteType>((p >> 8) & 0xFF), static_cast<GifByteType>(p & 0xFF)};
    }
    int error = 0;
    gif_ = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif_) {
        GifFreeMapObject(map);
        return false;
    }
    EGifSetGifVersion(gif_, true);
    ok_ = EGifPutScreenDesc(gif_, width, height, depth, 0, map) == GIF_OK;
    GifFreeMapObject(map);
    unsigned char loop_forever[3] = {1, 0, 0};
    ok_ = ok_ && EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
          EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0") == GIF_OK &&
          EGifPutExtensionBlock(gif_, 3, loop_forever) == GIF_OK && EGifPutExtensionTrailer(gif_) == GIF_OK;
    return ok_;
}

int GifWriter::index_of(platform::Pixel pixel) {
    pixel &= 0xFFFFFF;
    auto found = index_.find(pixel);
    if (found != index_.end()) return found->second;
    int best = 0;
    long best_distance = -1;
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        long dr = static_cast<long>((pixel >> 16) & 0xFF) - static_cast<long>((palette_[i] >> 16) & 0xFF);
        long dg = static_cast<long>((pixel >> 8) & 0xFF) - static_cast<long>((palette_[i] >> 8) & 0xFF);
        long db = static_cast<long>(pixel & 0xFF) - static_cast<long>(palette_[i] & 0xFF);
        long distance = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || distance < best_distance) {
            best_distance = distance;
            best = static_cast<int>(i);
        }
    }
    index_.emplace(pixel, best);
    return best;
}

bool GifWriter::add_frame(const platform::Bitmap& frame) {
    if (!gif_ || !ok_) return false;
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = delay_;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    ok_ = EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
          EGifPutImageDesc(gif_, 0, 0, width_, height_, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<std::size_t>(width_));
    for (int y = 0; ok_ && y < height_; ++y) {
        for (int x = 0; x < width_; ++x)
            line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(
                y < frame.height && x < frame.width ? index_of(frame.row(y)[x]) : 0);
        ok_ = EGifPutLine(gif_, line.data(), width_) == GIF_OK;
    }
    if (ok_) ++frames_;
    return ok_;
}

bool GifWriter::close() {
    if (!gif_) return ok_;
    int error = 0;
    bool closed = EGifCloseFile(gif_, &error) == GIF_OK;
    gif_ = nullptr;
    ok_ = ok_ && closed;
    return ok_;
}

}  // namespace kavro
