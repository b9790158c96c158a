#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>

#include "platform/png.h"

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

}  // namespace test_support
