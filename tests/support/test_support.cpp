// Where test pictures go, saving them as PNG, and the ink box of one colour.
#include "support/test_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/drawing/png.h"

namespace test_support {

std::string output_dir() {
    const char* env = std::getenv("KAVRO_TEST_OUTPUT_DIR");
    std::string dir = env && *env ? env : KAVRO_TEST_OUTPUT_DIR;
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    return dir;
}

std::string output_path(const std::string& name) { return output_dir() + "/" + name; }

std::string save_picture(const platform::Bitmap& bitmap, const std::string& name) {
    std::string path = output_path(name);
    return platform::write_png(path.c_str(), bitmap) ? path : std::string();
}

std::ostream& operator<<(std::ostream& out, const Ink& ink) {
    return out << "columns " << ink.left << ".." << ink.right << ", rows " << ink.top << ".." << ink.bottom << ", "
               << ink.count << " pixels";
}

Ink ink_of(const platform::Bitmap& bitmap, platform::ColorWord wanted) {
    Ink ink;
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            if (bitmap.get(x, y) != wanted) continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
            ++ink.count;
        }
    }
    return ink;
}

}  // namespace test_support
