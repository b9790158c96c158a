// Helpers shared by the test suites: where pictures go and how a failing
// picture comparison leaves something for a person to look at.
#pragma once

#include <string>

#include "platform/bitmap.h"

namespace test_support {

// Directory for pictures the tests write (created on first use).
std::string output_dir();
// Full path of a file in output_dir().
std::string output_path(const std::string& name);
// Writes a bitmap as PNG into output_dir(); returns the path or "" on failure.
std::string save_picture(const platform::Bitmap& bitmap, const std::string& name);

}  // namespace test_support
