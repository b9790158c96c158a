// Where test pictures go, saving them as PNG, the ink box of one colour and
// running a program.
#include "support/test_support.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
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

ProgramOutcome run_program(const std::string& program, const std::vector<std::string>& args) {
    std::string command = program;
    for (const std::string& a : args) command += " '" + a + "'";
    command += " 2>&1";
    ProgramOutcome result;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) result.output += buffer;
    int status = ::pclose(pipe);
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace test_support
