// Helpers shared by the test suites: where pictures go, how a failing
// picture comparison leaves something for a person to look at, and running a
// program as a user would.
#pragma once

#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "platform/base/bitmap.h"

namespace test_support {

// Directory for pictures the tests write (created on first use).
std::string output_dir();
// Full path of a file in output_dir().
std::string output_path(const std::string& name);
// Writes a bitmap as PNG into output_dir(); returns the path or "" on failure.
std::string save_picture(const platform::Bitmap& bitmap, const std::string& name);

// The inclusive box of every pixel of one colour in a picture, and their number.
struct Ink {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN;
    int bottom = INT_MIN;
    int count = 0;
    bool operator==(const Ink&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Ink& ink);
Ink ink_of(const platform::Bitmap& bitmap, platform::ColorWord wanted);

// How a program run by run_program ended.
struct ProgramOutcome {
    int code = -1;       // the exit code; -1 when it did not exit normally
    std::string output;  // standard output and error together
};
// Runs a program with arguments (each quoted for the shell) and waits for it.
ProgramOutcome run_program(const std::string& program, const std::vector<std::string>& args);

}  // namespace test_support
