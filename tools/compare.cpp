// Frame names, pixel-exact comparison and the difference picture for a
// frame that does not match its reference.
#include "tools/compare.h"

#include <cstdio>
#include <filesystem>
#include <ostream>

#include "platform/drawing/png.h"

namespace replay {
namespace fs = std::filesystem;

namespace {

constexpr platform::Pixel HIGHLIGHT = 0xFF0000;

std::string frame_name(std::int64_t frame, const char* suffix) {
    char name[48];
    std::snprintf(name, sizeof name, "frame-%06lld%s.png", static_cast<long long>(frame), suffix);
    return name;
}

// Three quarters of the way to white, so the highlight stands out.
platform::Pixel faded(platform::Pixel p) {
    platform::Pixel result = 0;
    for (int shift : {0, 8, 16}) {
        platform::Pixel channel = (p >> shift) & 0xFF;
        result |= ((channel + 3 * 255) / 4) << shift;
    }
    return result;
}

}  // namespace

std::int64_t differing_pixels(const platform::Bitmap& actual, const platform::Bitmap& expected) {
    if (actual.width != expected.width || actual.height != expected.height)
        return static_cast<std::int64_t>(actual.width) * actual.height;
    std::int64_t count = 0;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i)
        count += (actual.pixels[i] & 0xFFFFFF) != (expected.pixels[i] & 0xFFFFFF);
    return count;
}

platform::Bitmap difference_picture(const platform::Bitmap& actual, const platform::Bitmap& expected) {
    platform::Bitmap picture(actual.width, actual.height);
    bool same_size = actual.width == expected.width && actual.height == expected.height;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i) {
        bool differs = !same_size || (actual.pixels[i] & 0xFFFFFF) != (expected.pixels[i] & 0xFFFFFF);
        picture.pixels[i] = differs ? HIGHLIGHT : faded(actual.pixels[i]);
    }
    return picture;
}

bool compare_frames(const std::vector<std::int64_t>& frames, const std::string& out_dir,
                    const std::string& reference_dir, std::ostream& out, std::ostream& err) {
    std::int64_t differing = 0;
    std::string first;
    for (std::int64_t frame : frames) {
        std::string name = frame_name(frame, "");
        fs::path reference = fs::path(reference_dir) / name;
        platform::Bitmap actual, expected;
        if (!platform::read_png((fs::path(out_dir) / name).c_str(), actual)) {
            err << "kavro-replay: cannot read " << (fs::path(out_dir) / name).string() << "\n";
            ++differing;
            continue;
        }
        if (!platform::read_png(reference.c_str(), expected)) {
            err << "kavro-replay: no reference picture " << reference.string() << "\n";
            if (first.empty()) first = "frame " + std::to_string(frame) + ", no reference";
            ++differing;
            continue;
        }
        std::int64_t pixels = differing_pixels(actual, expected);
        if (pixels == 0) continue;
        ++differing;
        if (first.empty()) first = "frame " + std::to_string(frame) + ", " + std::to_string(pixels) + " pixels";
        std::string difference = (fs::path(out_dir) / frame_name(frame, "-difference")).string();
        if (!platform::write_png(difference.c_str(), difference_picture(actual, expected)))
            err << "kavro-replay: cannot write " << difference << "\n";
    }
    out << frames.size() << " frames compared, " << differing << " differ";
    if (!first.empty()) out << "; first: " << first;
    out << "\n";
    return differing == 0;
}

}  // namespace replay
